#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Blocking HTTP/1.1 GET over libcurl, shaped like the platform's internet calls: a session (user agent), a
// connection to one host (a bare name means port 80; "host:port" names another port), and one request at a
// time whose body is handed over in chunks. Connections are kept alive between requests of a session,
// redirects are followed (plain http only), no cookies are kept. A connect time-out and a stall time-out stop
// a server that never answers, and abort_all_transfers() ends every transfer in flight at once.
namespace platform {

enum class http_status {
    ok,
    open_failed, // the request cannot be built (bad host or path)
    send_failed, // no connection to the server
    read_failed, // the connection broke, stalled, was aborted or the body was too large
};

struct http_limits {
    std::uint32_t connect_timeout_ms = 10000;
    // No byte for this long after the request went out ends the transfer.
    std::uint32_t stall_timeout_ms = 20000;
    std::size_t max_body_bytes = 16u << 20;
};

// Process-wide; tests shorten the time-outs.
void set_http_limits(const http_limits& limits);
http_limits get_http_limits();

// Ends every transfer running now (they fail with read_failed); later transfers are not affected.
void abort_all_transfers();
// While blocked, transfers in flight end and new ones fail at once (read_failed): an owner that is shutting
// down its loading thread blocks, joins the thread, then unblocks.
void block_transfers(bool blocked);

// What a client holding a copy sends to ask whether it changed ("" when unknown).
struct http_validators {
    std::string etag;
    std::string last_modified;
};

// What a finished request answered, beside its body.
struct http_response {
    long status = 0;
    // The answer's validators: what to send next time with the copy kept.
    http_validators validators;
    // The status was 304: the copy sent about is current and no body came.
    bool not_modified() const { return status == 304; }
};

class http_session {
public:
    // Null when the library cannot be set up.
    static std::unique_ptr<http_session> open(const std::string& user_agent);
    ~http_session();
    http_session(const http_session&) = delete;
    http_session& operator=(const http_session&) = delete;

    // Chooses the server of later requests; false for an empty or malformed host.
    bool connect(const std::string& host);

    // GET path (it must start with '/'; it is sent as given). The body arrives through sink in chunks,
    // decoded when the server compressed it (the size cap counts decoded bytes; a body that does not decode
    // fails like a broken connection). The status code is not examined: an error page is a body like any
    // other. detail says what failed. With `held`, the request asks whether that copy is still current;
    // `response` gets the status and validators of the answer.
    http_status get(const std::string& path, const std::function<void(const char*, std::size_t)>& sink,
                    std::string* detail = nullptr, const http_validators* held = nullptr,
                    http_response* response = nullptr);

    const std::string& host() const { return host_; }

private:
    struct impl;
    explicit http_session(std::unique_ptr<impl> d);
    std::unique_ptr<impl> d;
    std::string host_;
};

} // namespace platform
