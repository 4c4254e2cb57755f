#pragma once

#include "net/http_buffer.h"

#include <memory>
#include <string>

namespace platform {
class http_session;
struct http_validators;
struct http_response;
} // namespace platform

namespace cl {
namespace http {

// A blocking HTTP/1.1 client for the loading thread: open, connect to a host, then one GET at a time.
// Failures throw cl::http::error with one of five fixed messages.
class client {
public:
    static constexpr const char* user_agent = "ZOR News Client";

    client();
    ~client();
    client(const client&) = delete;
    client& operator=(const client&) = delete;

    // Replaces a session already open. "Preparation for access to the Internet fail".
    void open();
    // host: a bare host name, or "host:port". Replaces a previous connection.
    // "Internet connection opening fails".
    void connect(const std::wstring& host);
    // path starts with "/" and carries its query string, already encoded. The status code is not examined.
    // "Http request opening fails", "Http request sending fails", "Internet file reading fails".
    buffer& get(buffer& body, const std::wstring& path);
    // The same, asking whether the held copy is still current; the answer's status and validators go to
    // response (a 304 leaves the body empty).
    buffer& get(buffer& body, const std::wstring& path, const platform::http_validators* held,
                platform::http_response& response);
    void close();

    bool is_open() const { return session != nullptr; }
    bool is_connected() const { return connected; }

private:
    std::unique_ptr<platform::http_session> session;
    bool connected = false;
};

} // namespace http
} // namespace cl
