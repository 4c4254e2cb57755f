#include "fetcher.h"

#include "url_tools.h"

#include <arpa/inet.h>
#include <cstring>
#include <curl/curl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>

namespace server {

namespace {

struct transfer {
    std::string body;
    std::size_t max_bytes = 0;
    bool too_big = false;
    bool blocked = false;
    bool allow_private = false;
    const std::function<bool(const sockaddr*)>* is_private = nullptr;
    const std::atomic<bool>* stopping = nullptr;
};

std::size_t on_body(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<transfer*>(user);
    const std::size_t n = size * count;
    if (t->body.size() + n > t->max_bytes) {
        t->too_big = true;
        return 0;
    }
    t->body.append(data, n);
    return n;
}

int on_progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<transfer*>(user)->stopping->load() ? 1 : 0;
}

// Runs for every connection, redirects included, on the address actually connected to (no gap between a
// check of the name and the connection for the name to change its address in).
curl_socket_t on_open_socket(void* user, curlsocktype purpose, curl_sockaddr* address) {
    auto* t = static_cast<transfer*>(user);
    if (purpose != CURLSOCKTYPE_IPCXN || (!t->allow_private && (*t->is_private)(&address->addr))) {
        t->blocked = true;
        return CURL_SOCKET_BAD;
    }
    return ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
}

std::string header(CURL* curl, const char* name) {
    curl_header* h = nullptr;
    if (curl_easy_header(curl, name, 0, CURLH_HEADER, -1, &h) != CURLHE_OK || !h || !h->value)
        return std::string();
    return h->value;
}

// Retry-After in seconds or as an HTTP date; a minute when it says nothing usable, at most a day.
std::chrono::seconds retry_after(const std::string& value) {
    long seconds = 60;
    if (!value.empty() && value.find_first_not_of("0123456789 ") == std::string::npos) {
        seconds = std::strtol(value.c_str(), nullptr, 10);
    } else if (!value.empty()) {
        const time_t when = curl_getdate(value.c_str(), nullptr);
        if (when > 0)
            seconds = static_cast<long>(when - std::time(nullptr));
    }
    return std::chrono::seconds(std::max(1L, std::min(seconds, 86400L)));
}

} // namespace

bool private_address(const sockaddr* address) {
    if (address->sa_family == AF_INET) {
        const auto* in = reinterpret_cast<const sockaddr_in*>(address);
        const std::uint32_t a = ntohl(in->sin_addr.s_addr);
        auto in_net = [a](std::uint32_t net, int bits) { return (a >> (32 - bits)) == (net >> (32 - bits)); };
        return in_net(0x00000000, 8) || in_net(0x0A000000, 8) || in_net(0x7F000000, 8) ||
               in_net(0xA9FE0000, 16) || in_net(0xAC100000, 12) || in_net(0xC0A80000, 16) ||
               in_net(0x64400000, 10) || in_net(0xC0000000, 24) || in_net(0xC6120000, 15) ||
               in_net(0xE0000000, 4) || in_net(0xF0000000, 4);
    }
    if (address->sa_family == AF_INET6) {
        const auto* in6 = reinterpret_cast<const sockaddr_in6*>(address);
        const unsigned char* b = in6->sin6_addr.s6_addr;
        static const unsigned char zero[16] = {};
        if (std::memcmp(b, zero, 15) == 0 && (b[15] == 0 || b[15] == 1))
            return true; // unspecified and loopback
        if (IN6_IS_ADDR_V4MAPPED(&in6->sin6_addr) || IN6_IS_ADDR_V4COMPAT(&in6->sin6_addr)) {
            sockaddr_in v4{};
            v4.sin_family = AF_INET;
            std::memcpy(&v4.sin_addr, b + 12, 4);
            return private_address(reinterpret_cast<const sockaddr*>(&v4));
        }
        return (b[0] & 0xFE) == 0xFC ||                   // unique local fc00::/7
               (b[0] == 0xFE && (b[1] & 0xC0) == 0x80) || // link-local fe80::/10
               (b[0] == 0xFE && (b[1] & 0xC0) == 0xC0) || // site-local fec0::/10
               b[0] == 0xFF;                              // multicast
    }
    return true;
}

fetcher::fetcher(const settings& s) : config(s) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

fetcher::~fetcher() = default;

std::shared_ptr<fetcher::host_state> fetcher::host(const std::string& name) {
    std::lock_guard<std::mutex> lock(m);
    std::shared_ptr<host_state>& h = hosts[name];
    if (!h)
        h = std::make_shared<host_state>();
    return h;
}

fetcher::result fetcher::get(const request& r) {
    std::string url = r.url;
    validators sent;
    bool have_validators = false;
    {
        std::lock_guard<std::mutex> lock(m);
        for (int hops = 0; hops < config.max_redirects && moved.count(url); ++hops)
            url = moved[url];
        auto it = known.find(r.url);
        if (r.conditional && it != known.end()) {
            sent = it->second;
            have_validators = true;
        }
    }
    result out;
    for (int hop = 0; hop <= config.max_redirects; ++hop) {
        url_parts parts;
        if (!split_web_url(url, parts)) {
            out.error = "not an http or https address: " + url;
            return out;
        }
        std::shared_ptr<host_state> h = host(parts.host + ":" + std::to_string(parts.port));
        std::unique_lock<std::mutex> one_at_a_time(h->busy);
        if (std::chrono::steady_clock::now() < h->not_before) {
            out.status = outcome::deferred;
            out.error = "the host asked to wait (429) before " + parts.host + " is asked again";
            return out;
        }
        std::string location;
        out = fetch_once(r, url, have_validators ? &sent : nullptr, location);
        if (out.http_status == 429 || (out.http_status == 503 && !location.empty())) {
            h->not_before = std::chrono::steady_clock::now() + retry_after(location);
            out.status = outcome::deferred;
            out.error = "the host answered " + std::to_string(out.http_status) + ", waiting as it asked";
            return out;
        }
        one_at_a_time.unlock();
        const int s = out.http_status;
        if (out.status != outcome::failed || (s != 301 && s != 302 && s != 303 && s != 307 && s != 308))
            return out;
        if (location.empty()) {
            out.error = "redirect without an address";
            return out;
        }
        const std::string next = resolve_url(url, location);
        if (s == 301 || s == 308) {
            std::lock_guard<std::mutex> lock(m);
            moved[url] = next;
        }
        url = next;
    }
    out.status = outcome::failed;
    out.error = "too many redirects";
    return out;
}

// One request without following redirects. location gets the Location header of a redirect, or the
// Retry-After header of a 429 or 503.
fetcher::result fetcher::fetch_once(const request& r, const std::string& url, const validators* sent,
                                    std::string& location) {
    result out;
    out.final_url = url;
    if (stopping) {
        out.error = "stopping";
        return out;
    }
    std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
    transfer t;
    t.max_bytes = r.max_bytes;
    t.allow_private = config.allow_private_addresses;
    t.is_private = &config.is_private;
    t.stopping = &stopping;
    curl_slist* headers = nullptr;
    if (sent && !sent->etag.empty())
        headers = curl_slist_append(headers, ("If-None-Match: " + sent->etag).c_str());
    if (sent && !sent->last_modified.empty())
        headers = curl_slist_append(headers, ("If-Modified-Since: " + sent->last_modified).c_str());
    std::unique_ptr<curl_slist, void (*)(curl_slist*)> header_list(headers, curl_slist_free_all);
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_PROXY, ""); // a proxy would hide the address the check must see
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(c, CURLOPT_USERAGENT, config.user_agent.c_str());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(config.connect_timeout_ms));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(r.timeout_ms));
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(r.max_bytes));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, on_body);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, on_progress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(c, CURLOPT_OPENSOCKETFUNCTION, on_open_socket);
    curl_easy_setopt(c, CURLOPT_OPENSOCKETDATA, &t);
    const CURLcode code = curl_easy_perform(c);
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    out.http_status = static_cast<int>(status);
    if (code != CURLE_OK) {
        if (t.blocked)
            out.error = "address not allowed: " + url;
        else if (t.too_big || code == CURLE_FILESIZE_EXCEEDED)
            out.error = "answer larger than " + std::to_string(r.max_bytes) + " bytes";
        else
            out.error = curl_easy_strerror(code);
        return out;
    }
    if (status == 304 && sent) {
        out.status = outcome::not_modified;
        return out;
    }
    if (status >= 300 && status < 400) {
        location = header(c, "Location");
        out.error = "redirect";
        return out;
    }
    if (status == 429 || status == 503) {
        location = header(c, "Retry-After");
        if (status == 429 && location.empty())
            location = "60";
    }
    if (status != 200) {
        out.error = "HTTP " + std::to_string(status);
        return out;
    }
    char* type = nullptr;
    curl_easy_getinfo(c, CURLINFO_CONTENT_TYPE, &type);
    out.content_type = type ? type : "";
    validators v{header(c, "ETag"), header(c, "Last-Modified")};
    {
        std::lock_guard<std::mutex> lock(m);
        if (!v.etag.empty() || !v.last_modified.empty())
            known[r.url] = v;
    }
    out.status = outcome::fresh;
    out.body = std::move(t.body);
    return out;
}

} // namespace server
