#include "feed_store.h"

#include "html_text.h"

#include <algorithm>
#include <atomic>
#include <ctime>
#include <set>
#include <thread>

namespace server {

namespace {
constexpr int fetching_threads = 4;
}

namespace {
std::string utc_text(std::int64_t seconds, const char* format) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, format, &tm);
    return text;
}
} // namespace

std::string compact_stamp(std::int64_t seconds) {
    return utc_text(seconds, "%Y%m%dT%H%M%S");
}

std::string minute_text(std::int64_t seconds) {
    return utc_text(seconds, "%Y-%m-%d %H:%M");
}

feed_store::feed_store(const sources_settings& settings, fetcher& web, logger log, int timeout_ms)
    : config(settings), web(web), log(std::move(log)), timeout_ms(timeout_ms) {
    for (const auto& c : config.categories) {
        for (const feed_source& s : c.second) {
            feed_state f;
            f.source = s;
            f.category = c.first;
            feeds.push_back(f);
        }
        category_entry e;
        e.url = c.first;
        e.stamp = compact_stamp(0);
        e.colour_index = static_cast<unsigned>(categories.size());
        categories[c.first] = e;
    }
}

std::vector<std::string> feed_store::urls() {
    std::lock_guard<std::mutex> lock(m);
    std::vector<std::string> out;
    for (const auto& c : categories)
        out.push_back(c.first);
    return out;
}

bool feed_store::category(const std::string& url, category_entry& out) {
    std::lock_guard<std::mutex> lock(m);
    auto it = categories.find(url);
    if (it == categories.end())
        return false;
    out = it->second;
    return true;
}

std::int64_t feed_store::next_due() {
    std::lock_guard<std::mutex> lock(m);
    std::int64_t due = INT64_MAX;
    for (const feed_state& f : feeds)
        due = std::min(due, f.due);
    return due;
}

int feed_store::refresh(std::int64_t now) {
    std::vector<feed_state*> due;
    {
        std::lock_guard<std::mutex> lock(m);
        for (feed_state& f : feeds)
            if (f.due <= now)
                due.push_back(&f);
    }
    // Each feed is fetched by one thread at a time; the fetcher keeps to one request per host.
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < due.size(); i = next++)
            refresh_one(*due[i], now);
    };
    std::vector<std::thread> threads;
    for (int i = 1; i < fetching_threads && static_cast<std::size_t>(i) < due.size(); ++i)
        threads.emplace_back(work);
    work();
    for (std::thread& t : threads)
        t.join();
    std::set<std::string> touched;
    for (feed_state* f : due)
        touched.insert(f->category);
    for (const std::string& url : touched)
        rebuild(url, now);
    return static_cast<int>(due.size());
}

void feed_store::refresh_one(feed_state& f, std::int64_t now) {
    fetcher::request r;
    r.url = f.source.url;
    r.timeout_ms = timeout_ms;
    bool ever_read;
    {
        std::lock_guard<std::mutex> lock(m);
        ever_read = f.ever_read;
        f.due = now + static_cast<std::int64_t>(f.source.refresh_minutes) * 60;
    }
    r.conditional = ever_read;
    fetcher::result got = web.get(r);
    if (got.status == fetcher::outcome::not_modified)
        return;
    if (got.status != fetcher::outcome::fresh) {
        log("feed " + f.source.url + ": " + got.error + (ever_read ? "; keeping its last items" : ""));
        return;
    }
    feed parsed;
    std::string error;
    if (!read_feed(got.body, got.final_url, parsed, error,
                   static_cast<std::size_t>(config.items_per_category))) {
        log("feed " + f.source.url + ": " + error + (ever_read ? "; keeping its last items" : ""));
        return;
    }
    std::lock_guard<std::mutex> lock(m);
    f.items = std::move(parsed.items);
    f.title = parsed.title;
    f.ever_read = true;
}

void feed_store::rebuild(const std::string& url, std::int64_t now) {
    struct dated {
        const feed_item* item;
        const feed_state* from;
        std::int64_t when;
    };
    std::lock_guard<std::mutex> lock(m);
    std::vector<dated> items;
    std::set<std::string> ids;
    for (const feed_state& f : feeds) {
        if (f.category != url)
            continue;
        for (const feed_item& i : f.items) {
            if (!ids.insert(i.id).second)
                continue;
            std::int64_t when = i.published;
            if (!i.has_date) {
                auto seen = first_seen.emplace(i.id, now).first;
                when = seen->second;
            }
            items.push_back(dated{&i, &f, when});
        }
    }
    // Forget when undated items were first seen once they left every feed of the category.
    for (auto it = first_seen.begin(); it != first_seen.end();) {
        bool elsewhere = false;
        for (const feed_state& f : feeds)
            for (const feed_item& i : f.items)
                elsewhere = elsewhere || (f.category != url && i.id == it->first);
        it = ids.count(it->first) || elsewhere ? std::next(it) : first_seen.erase(it);
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const dated& a, const dated& b) { return a.when > b.when; });
    if (items.size() > static_cast<std::size_t>(config.items_per_category))
        items.resize(static_cast<std::size_t>(config.items_per_category));
    category_entry& e = categories[url];
    e.articles.clear();
    std::int64_t newest = 0;
    for (const dated& d : items) {
        article_entry a;
        a.id = d.item->id;
        a.headline = d.item->title;
        a.location = d.from->title;
        a.published = minute_text(d.when);
        html_text body = html_to_paragraphs(d.item->html, d.item->base);
        a.paragraphs = body.paragraphs.empty() ? std::vector<std::string>{d.item->title} : body.paragraphs;
        a.picture_url = !d.item->picture.empty() ? d.item->picture : body.first_picture;
        e.articles.push_back(a);
        newest = std::max(newest, d.when);
    }
    e.stamp = compact_stamp(newest);
}

} // namespace server
