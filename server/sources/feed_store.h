#pragma once

#include "feed_reader.h"
#include "fetcher.h"
#include "news_source.h"
#include "sources_file.h"

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace server {

// The categories of the sources file filled from their feeds. Each feed is fetched again when its refresh
// interval has passed; a feed that fails, or answers with something unreadable, keeps its last good items
// and is logged, never blanked. A category lists its feeds' items newest first (an item without a date
// counts from when it was first seen); its stamp is its newest item's.
class feed_store : public news_source {
public:
    using logger = std::function<void(const std::string&)>;

    // A feed's transfer is given up after timeout_ms.
    feed_store(const sources_settings& settings, fetcher& web, logger log, int timeout_ms = 20000);

    bool category(const std::string& url, category_entry& out) override;
    std::vector<std::string> urls() override;

    // Fetches every feed whose time has come at now (seconds since 1970), a few hosts at a time; returns how
    // many were asked for.
    int refresh(std::int64_t now);
    // When the next feed is due.
    std::int64_t next_due();

private:
    struct feed_state {
        feed_source source;
        std::string category;
        std::string title;
        std::vector<feed_item> items;
        bool ever_read = false;
        std::int64_t due = 0;
    };
    void refresh_one(feed_state& f, std::int64_t now);
    void rebuild(const std::string& url, std::int64_t now);

    sources_settings config;
    fetcher& web;
    logger log;
    int timeout_ms;
    std::mutex m;
    std::vector<feed_state> feeds;
    std::map<std::string, category_entry> categories;
    std::map<std::string, std::int64_t> first_seen; // undated items, by id
};

// "YYYYMMDDTHHMMSS" and "YYYY-MM-DD HH:MM" of a time, UTC.
std::string compact_stamp(std::int64_t seconds);
std::string minute_text(std::int64_t seconds);

} // namespace server
