#include "net/document_fetch.h"

#include "net/http_client.h"

#include <memory>

namespace cl {
namespace http {

buffer fetch_document(const std::wstring& host, const std::wstring& path) {
    // One kept-alive connection per thread (in practice the loading thread), dropped after any failure so
    // that the next document starts afresh.
    thread_local std::unique_ptr<client> c;
    thread_local std::wstring connected_host;
    if (!c || connected_host != host) {
        c.reset(new client);
        connected_host.clear();
        c->open();
        c->connect(host);
        connected_host = host;
    }
    buffer body;
    try {
        c->get(body, path);
    } catch (...) {
        c.reset();
        connected_host.clear();
        throw;
    }
    body.terminate();
    return body;
}

} // namespace http
} // namespace cl
