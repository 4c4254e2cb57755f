#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

struct sockaddr;

namespace server {

// Whether an IPv4 or IPv6 address (network order, as in sockaddr) is loopback, private, link-local,
// unspecified, or otherwise not a public host.
bool private_address(const struct sockaddr* address);

// HTTP and HTTPS GETs for the readers of real sources, with libcurl: TLS verified, gzip accepted, bounded in
// size and time, one request at a time per host, conditional requests (ETag, Last-Modified) for addresses
// fetched before, permanent redirects remembered, a host's 429 Retry-After honoured. Only http and https
// addresses are fetched, and never one whose host is on the loopback, private or link-local ranges unless
// that is allowed; every redirect is checked the same way (the check runs on the address connected to).
class fetcher {
public:
    struct settings {
        bool allow_private_addresses = false;
        // What counts as private; tests let one local server stand in for a public host with it.
        std::function<bool(const sockaddr*)> is_private = private_address;
        std::string user_agent = "zor-content-server/1.0";
        int connect_timeout_ms = 10000;
        int max_redirects = 5;
    };
    struct request {
        std::string url;
        std::size_t max_bytes = 8 * 1024 * 1024;
        int timeout_ms = 30000;
        // Sends the validators of the previous answer; a 304 then comes back as not_modified.
        bool conditional = false;
    };
    enum class outcome { fresh, not_modified, failed, deferred };
    struct result {
        outcome status = outcome::failed;
        int http_status = 0;
        std::string body;
        std::string content_type;
        std::string error; // for failed and deferred
        std::string final_url;
    };

    explicit fetcher(const settings& s);
    ~fetcher();
    fetcher(const fetcher&) = delete;
    fetcher& operator=(const fetcher&) = delete;

    result get(const request& r);
    // Makes transfers in flight end soon and new ones fail (the server is stopping).
    void stop() { stopping = true; }

private:
    struct validators {
        std::string etag;
        std::string last_modified;
    };
    struct host_state {
        std::mutex busy; // held for the whole of a transfer to the host
        std::chrono::steady_clock::time_point not_before{};
    };
    result fetch_once(const request& r, const std::string& url, const validators* sent,
                      std::string& location);
    std::shared_ptr<host_state> host(const std::string& name);

    settings config;
    std::atomic<bool> stopping{false};
    std::mutex m;
    std::map<std::string, std::shared_ptr<host_state>> hosts;
    std::map<std::string, validators> known;  // by address asked for
    std::map<std::string, std::string> moved; // permanent redirects
};

} // namespace server
