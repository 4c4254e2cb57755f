#include "live_pictures.h"

#include "picture_decoder.h"

#include <algorithm>
#include <ctime>

namespace server {

namespace {
// The largest side the panel asks for: kept pictures need no more.
constexpr int max_kept_side = 1600;
} // namespace

live_pictures::live_pictures(fetcher& web, const limits& l) : web(web), config(l) {}

bool live_pictures::picture(const std::string& url, int width, int height, raster& out, std::string& error) {
    raster source;
    bool have = false;
    {
        std::lock_guard<std::mutex> lock(m);
        auto it = decoded.find(url);
        if (it != decoded.end()) {
            it->second.second = ++uses;
            source = it->second.first;
            have = true;
        }
        auto f = failed.find(url);
        if (!have && f != failed.end()) {
            if (std::time(nullptr) - f->second.when < config.retry_failed_after_s) {
                error = f->second.error;
                return false;
            }
            failed.erase(f);
        }
    }
    if (!have) {
        fetcher::request r;
        r.url = url;
        r.max_bytes = config.max_bytes;
        r.timeout_ms = config.timeout_ms;
        fetcher::result got = web.get(r);
        if (got.status != fetcher::outcome::fresh)
            error = got.error;
        else if (decode_picture(got.body, source, error) &&
                 std::max(source.width, source.height) > max_kept_side)
            source = crop_and_scale(
                source, std::max(1, source.width * max_kept_side / std::max(source.width, source.height)),
                std::max(1, source.height * max_kept_side / std::max(source.width, source.height)));
        std::lock_guard<std::mutex> lock(m);
        if (!error.empty()) {
            if (failed.size() > 1000)
                failed.clear();
            failed[url] = failure{error, std::time(nullptr)};
            return false;
        }
        if (decoded.size() >= config.kept) {
            auto oldest = decoded.begin();
            for (auto it = decoded.begin(); it != decoded.end(); ++it)
                if (it->second.second < oldest->second.second)
                    oldest = it;
            decoded.erase(oldest);
        }
        decoded[url] = {source, ++uses};
    }
    out = crop_and_scale(source, width, height);
    return true;
}

} // namespace server
