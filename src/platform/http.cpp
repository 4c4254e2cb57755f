#include "platform/http.h"

#include "platform/clock.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstring>
#include <curl/curl.h>
#include <mutex>
#include <set>
#include <strings.h>

namespace platform {

namespace {

std::once_flag global_init;
std::mutex limits_mutex;
http_limits limits;

// Every transfer remembers the generation it started in; an abort moves the generation on and wakes them.
std::atomic<std::uint64_t> abort_generation{0};
std::atomic<int> blocked_count{0};
std::mutex live_mutex;
std::set<CURLM*> live_transfers;

bool valid_host(const std::string& host) {
    if (host.empty() || host.size() > 255)
        return false;
    std::size_t colon = host.find(':');
    std::string name = host.substr(0, colon);
    if (name.empty())
        return false;
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.'))
            return false;
    if (colon != std::string::npos) {
        std::string port = host.substr(colon + 1);
        if (port.empty() || port.size() > 5)
            return false;
        for (char c : port)
            if (!std::isdigit(static_cast<unsigned char>(c)))
                return false;
        long p = std::stol(port);
        if (p < 1 || p > 65535)
            return false;
    }
    return true;
}

bool valid_path(const std::string& path) {
    if (path.empty() || path[0] != '/')
        return false;
    for (unsigned char c : path)
        if (c <= 0x20 || c == 0x7F)
            return false;
    return true;
}

struct transfer_state {
    const std::function<void(const char*, std::size_t)>* sink;
    http_validators answered;
    std::size_t received = 0;
    std::size_t cap = 0;
    bool over_cap = false;
    bool headers_seen = false;
    std::uint32_t last_progress = 0;
};

std::size_t on_body(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<transfer_state*>(user);
    std::size_t n = size * count;
    t->last_progress = tick_count();
    if (t->received + n > t->cap) {
        t->over_cap = true;
        return 0; // makes curl fail the transfer
    }
    t->received += n;
    (*t->sink)(data, n);
    return n;
}

// The value of a header line when it is the named one (case-blind), without its line end.
bool header_value(const char* line, std::size_t size, const char* name, std::string& value) {
    const std::size_t n = std::strlen(name);
    if (size <= n || line[n] != ':' || strncasecmp(line, name, n) != 0)
        return false;
    std::size_t from = n + 1, to = size;
    while (from < to && (line[from] == ' ' || line[from] == '\t'))
        ++from;
    while (to > from && (line[to - 1] == '\r' || line[to - 1] == '\n' || line[to - 1] == ' '))
        --to;
    value.assign(line + from, to - from);
    return true;
}

std::size_t on_header(char* line, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<transfer_state*>(user);
    const std::size_t n = size * count;
    t->headers_seen = true;
    t->last_progress = tick_count();
    // A redirect's own headers are not the answer's: each status line starts afresh.
    if (n >= 5 && std::strncmp(line, "HTTP/", 5) == 0)
        t->answered = http_validators();
    header_value(line, n, "ETag", t->answered.etag);
    header_value(line, n, "Last-Modified", t->answered.last_modified);
    return n;
}

} // namespace

void set_http_limits(const http_limits& l) {
    std::lock_guard<std::mutex> lock(limits_mutex);
    limits = l;
}

http_limits get_http_limits() {
    std::lock_guard<std::mutex> lock(limits_mutex);
    return limits;
}

void abort_all_transfers() {
    std::lock_guard<std::mutex> lock(live_mutex);
    ++abort_generation;
    for (CURLM* m : live_transfers)
        curl_multi_wakeup(m);
}

void block_transfers(bool blocked) {
    if (blocked) {
        ++blocked_count;
        abort_all_transfers();
    } else if (blocked_count > 0) {
        --blocked_count;
    }
}

struct http_session::impl {
    CURL* easy = nullptr;
    CURLM* multi = nullptr;
    std::string user_agent;

    ~impl() {
        if (multi) {
            std::lock_guard<std::mutex> lock(live_mutex);
            live_transfers.erase(multi);
        }
        if (multi && easy)
            curl_multi_remove_handle(multi, easy);
        if (easy)
            curl_easy_cleanup(easy);
        if (multi)
            curl_multi_cleanup(multi);
    }
};

http_session::http_session(std::unique_ptr<impl> d) : d(std::move(d)) {}
http_session::~http_session() = default;

std::unique_ptr<http_session> http_session::open(const std::string& user_agent) {
    std::call_once(global_init, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    std::unique_ptr<impl> d(new impl);
    d->easy = curl_easy_init();
    d->multi = curl_multi_init();
    if (!d->easy || !d->multi)
        return nullptr;
    d->user_agent = user_agent;
    {
        std::lock_guard<std::mutex> lock(live_mutex);
        live_transfers.insert(d->multi);
    }
    return std::unique_ptr<http_session>(new http_session(std::move(d)));
}

bool http_session::connect(const std::string& host) {
    if (!valid_host(host))
        return false;
    host_ = host;
    return true;
}

http_status http_session::get(const std::string& path,
                              const std::function<void(const char*, std::size_t)>& sink, std::string* detail,
                              const http_validators* held, http_response* response) {
    auto say = [&](const std::string& why) {
        if (detail)
            *detail = why;
    };
    if (host_.empty() || !valid_path(path)) {
        say("bad host or path");
        return http_status::open_failed;
    }
    if (blocked_count > 0) {
        say("transfers are blocked");
        return http_status::read_failed;
    }
    const http_limits l = get_http_limits();
    const std::uint64_t generation = abort_generation.load();
    transfer_state t;
    t.sink = &sink;
    t.cap = l.max_body_bytes;
    t.last_progress = tick_count();

    CURL* e = d->easy;
    curl_easy_reset(e);
    const std::string url = "http://" + host_ + path;
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_USERAGENT, d->user_agent.c_str());
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http");
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(std::min(l.connect_timeout_ms, l.stall_timeout_ms)));
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, on_body);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, on_header);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(e, CURLOPT_PROXY, "");
    curl_easy_setopt(e, CURLOPT_NOPROXY, "*");
    // Compressed answers, decoded before they reach the sink; not brotli, which servers that compress as
    // they answer (the content server's library among them) do at a quality costing milliseconds a document.
    curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
    struct curl_slist* conditions = nullptr;
    if (held) {
        for (const auto& h : {std::make_pair("If-None-Match: ", &held->etag),
                              std::make_pair("If-Modified-Since: ", &held->last_modified)})
            if (!h.second->empty() && h.second->find_first_of("\r\n") == std::string::npos)
                conditions = curl_slist_append(conditions, (h.first + *h.second).c_str());
    }
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, conditions);
    struct free_list {
        curl_slist* l;
        ~free_list() { curl_slist_free_all(l); }
    } conditions_owner{conditions};

    if (curl_multi_add_handle(d->multi, e) != CURLM_OK) {
        say("cannot start the request");
        return http_status::open_failed;
    }
    CURLcode result = CURLE_OK;
    bool finished = false;
    bool aborted = false;
    bool stalled = false;
    while (!finished) {
        int running = 0;
        curl_multi_perform(d->multi, &running);
        int left = 0;
        while (CURLMsg* m = curl_multi_info_read(d->multi, &left)) {
            if (m->msg == CURLMSG_DONE) {
                result = m->data.result;
                finished = true;
            }
        }
        if (finished)
            break;
        if (abort_generation.load() != generation || blocked_count > 0) {
            aborted = true;
            break;
        }
        // The stall clock runs from the start: connecting, waiting for the answer and every pause between
        // chunks each get at most this long.
        if (tick_count() - t.last_progress > l.stall_timeout_ms) {
            stalled = true;
            break;
        }
        curl_multi_poll(d->multi, nullptr, 0, 100, nullptr);
    }
    curl_multi_remove_handle(d->multi, e);

    if (aborted) {
        say("aborted");
        return http_status::read_failed;
    }
    if (stalled) {
        // Connecting has its own, shorter time-out: a stall means the server stopped answering.
        say("no data for " + std::to_string(l.stall_timeout_ms) + " ms");
        return http_status::read_failed;
    }
    if (t.over_cap) {
        say("body larger than " + std::to_string(l.max_body_bytes) + " bytes");
        return http_status::read_failed;
    }
    if (result == CURLE_OK) {
        if (response) {
            response->status = 0;
            curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &response->status);
            response->validators = t.answered;
        }
        return http_status::ok;
    }
    say(curl_easy_strerror(result));
    switch (result) {
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
        return http_status::open_failed;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
        return http_status::send_failed;
    case CURLE_OPERATION_TIMEDOUT:
        return t.headers_seen ? http_status::read_failed : http_status::send_failed;
    default:
        // The connection was up: the answer broke off or could not be read.
        return http_status::read_failed;
    }
}

} // namespace platform
