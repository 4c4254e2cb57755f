#include "net/document_fetch.h"

#include "net/http_client.h"

#include <memory>
#include <mutex>

namespace cl {
namespace http {

namespace {

// One kept-alive connection for every document, dropped after any failed transfer so that the next document
// starts afresh. Only the loading thread fetches documents, so the lock is not contended; it is process-wide
// rather than per thread so that the connection outlives a stop and start of the loading thread.
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

// The body with a zero byte behind it, so that it reads as a C string. A copy: buffers share their bytes,
// and the body itself may still be kept as it came.
body_user as_text(const document_user& use) {
    return [&use](const buffer& body, copy_time held) {
        buffer text;
        text.append(body.data(), static_cast<long>(body.size()));
        text.terminate();
        use(text.data(), held);
    };
}

} // namespace

copy_time load_document(const std::wstring& host, const std::wstring& path, const document_user& use) {
    document_connection& d = connection();
    std::lock_guard<std::mutex> lock(d.m);
    const transfer get = [&](buffer& body, const platform::http_validators* held,
                             platform::http_response& response) {
        try {
            if (!d.c || d.host != host) {
                d.c.reset(new client);
                d.host.clear();
                d.c->open();
                d.c->connect(host);
                d.host = host;
            }
            d.c->get(body, path, held, response);
        } catch (...) {
            d.c.reset();
            d.host.clear();
            throw;
        }
    };
    return load_through_held_copy(get, host, path, as_text(use));
}

copy_time use_held_document(const std::wstring& host, const std::wstring& path, const document_user& use) {
    return use_held_copy(host, path, as_text(use));
}

} // namespace http
} // namespace cl
