#include "net/held_copies.h"

#include "platform/http.h"
#include "platform/text.h"

#include <ctime>
#include <memory>
#include <mutex>

namespace cl {
namespace http {

namespace {

struct copies_state {
    std::mutex m;
    bool chosen = false;
    std::unique_ptr<disk_cache> cache;
};

copies_state& state() {
    static copies_state s;
    return s;
}

} // namespace

disk_cache* held_copies() {
    copies_state& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    if (!s.chosen) {
        s.chosen = true;
        const std::string folder = disk_cache::default_folder();
        if (!folder.empty())
            s.cache.reset(new disk_cache(folder));
    }
    return s.cache.get();
}

void keep_copies_in(const std::string& folder) {
    copies_state& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    s.chosen = true;
    s.cache.reset(folder.empty() ? nullptr : new disk_cache(folder));
}

buffer& get_with_held_copy(client& c, const std::wstring& host, const std::wstring& path, buffer& body) {
    disk_cache* cache = held_copies();
    const std::string key = platform::to_utf8(host) + platform::to_utf8(path);
    std::optional<disk_cache::entry> held;
    if (cache)
        held = cache->find(key);
    platform::http_validators asked;
    if (held) {
        asked.etag = held->etag;
        asked.last_modified = held->last_modified;
    }
    platform::http_response response;
    c.get(body, path, held ? &asked : nullptr, response);
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    if (held && response.not_modified()) {
        body.clear();
        body.append(held->body.data(), static_cast<long>(held->body.size()));
        cache->confirm(key, now);
    } else if (cache && response.status == 200 &&
               !(response.validators.etag.empty() && response.validators.last_modified.empty())) {
        disk_cache::entry copy;
        if (body.data())
            copy.body.assign(body.data(), body.size());
        copy.etag = response.validators.etag;
        copy.last_modified = response.validators.last_modified;
        copy.stored_at = now;
        cache->store(key, copy);
    }
    return body;
}

} // namespace http
} // namespace cl
