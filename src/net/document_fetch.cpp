#include "net/document_fetch.h"

#include "net/http_client.h"

namespace cl {
namespace http {

buffer fetch_document(const std::wstring& host, const std::wstring& path) {
    client c;
    c.open();
    c.connect(host);
    buffer body;
    c.get(body, path);
    body.terminate();
    return body;
}

} // namespace http
} // namespace cl
