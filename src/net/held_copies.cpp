#include "net/held_copies.h"

#include "platform/text.h"
#include "utils/errors.h"
#include "utils/log.h"

#include <ctime>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>

namespace cl {
namespace http {

namespace {

struct copies_state {
    std::mutex m;
    bool chosen = false;
    // Shared so that a load in flight keeps the cache it began with when a host moves the copies.
    std::shared_ptr<disk_cache> cache;
};

copies_state& state() {
    static copies_state s;
    return s;
}

std::string key_of(const std::wstring& host, const std::wstring& path) {
    return platform::to_utf8(host) + platform::to_utf8(path);
}

std::int64_t now() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

// Never 0, which would read as the network's own answer.
copy_time stamp_of(const disk_cache::entry& e) {
    return e.stored_at > 0 ? e.stored_at : 1;
}

buffer body_of(const disk_cache::entry& e) {
    buffer b;
    b.append(e.body.data(), static_cast<long>(e.body.size()));
    return b;
}

// The copy goes to `use`; a copy it rejects is dropped so that it is never offered again.
bool try_copy(disk_cache& cache, const std::string& key, const disk_cache::entry& held,
              const body_user& use) {
    try {
        use(body_of(held), stamp_of(held));
        return true;
    } catch (const std::exception& e) {
        utils::log("Held copy rejected, dropped: " + utils::log_text(e));
    } catch (...) {
        utils::log("Held copy rejected, dropped");
    }
    cache.remove(key);
    return false;
}

} // namespace

std::shared_ptr<disk_cache> held_copies() {
    copies_state& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    if (!s.chosen) {
        s.chosen = true;
        const std::string folder = disk_cache::default_folder();
        if (!folder.empty())
            s.cache = std::make_shared<disk_cache>(folder);
    }
    return s.cache;
}

void keep_copies_in(const std::string& folder, std::uint64_t limit_bytes) {
    copies_state& s = state();
    std::lock_guard<std::mutex> lock(s.m);
    s.chosen = true;
    s.cache = folder.empty() ? nullptr : std::make_shared<disk_cache>(folder, limit_bytes);
}

copy_time load_through_held_copy(const transfer& get, const std::wstring& host, const std::wstring& path,
                                 const body_user& use) {
    const std::shared_ptr<disk_cache> cache = held_copies();
    const std::string key = key_of(host, path);
    std::optional<disk_cache::entry> held;
    if (cache)
        held = cache->find(key);
    platform::http_validators asked;
    if (held) {
        asked.etag = held->etag;
        asked.last_modified = held->last_modified;
    }
    std::exception_ptr failure;
    try {
        buffer body;
        platform::http_response response;
        get(body, held ? &asked : nullptr, response);
        if (held && response.not_modified()) {
            utils::log(L"Not modified: " + path);
            use(body_of(*held), 0);
            cache->confirm(key, now());
            return 0;
        }
        use(body, 0);
        if (cache && response.status == 200 &&
            !(response.validators.etag.empty() && response.validators.last_modified.empty())) {
            disk_cache::entry copy;
            if (body.data())
                copy.body.assign(body.data(), body.size());
            copy.etag = response.validators.etag;
            copy.last_modified = response.validators.last_modified;
            copy.stored_at = now();
            cache->store(key, copy);
        }
        return 0;
    } catch (...) {
        failure = std::current_exception();
    }
    if (held && try_copy(*cache, key, *held, use)) {
        utils::log("The held copy stands in");
        return stamp_of(*held);
    }
    std::rethrow_exception(failure);
}

copy_time use_held_copy(const std::wstring& host, const std::wstring& path, const body_user& use) {
    const std::shared_ptr<disk_cache> cache = held_copies();
    if (!cache)
        return 0;
    const std::string key = key_of(host, path);
    const std::optional<disk_cache::entry> held = cache->find(key);
    if (!held || !try_copy(*cache, key, *held, use))
        return 0;
    return stamp_of(*held);
}

} // namespace http
} // namespace cl
