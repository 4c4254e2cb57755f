#include "net/document_fetch.h"

#include "net/held_copies.h"
#include "net/http_client.h"

#include <memory>
#include <mutex>

namespace cl {
namespace http {

namespace {

// One kept-alive connection for every document, dropped after any failure so that the next document starts
// afresh. Only the loading thread fetches documents, so the lock is not contended; it is process-wide rather
// than per thread so that the connection outlives a stop and start of the loading thread.
struct document_connection {
    std::mutex m;
    std::unique_ptr<client> c;
    std::wstring host;
};

document_connection& connection() {
    // An object, not a leaked pointer: the library may be unloaded and loaded again.
    static document_connection d;
    return d;
}

} // namespace

buffer fetch_document(const std::wstring& host, const std::wstring& path) {
    document_connection& d = connection();
    std::lock_guard<std::mutex> lock(d.m);
    if (!d.c || d.host != host) {
        d.c.reset(new client);
        d.host.clear();
        d.c->open();
        d.c->connect(host);
        d.host = host;
    }
    buffer body;
    try {
        get_with_held_copy(*d.c, host, path, body);
    } catch (...) {
        d.c.reset();
        d.host.clear();
        throw;
    }
    body.terminate();
    return body;
}

} // namespace http
} // namespace cl
