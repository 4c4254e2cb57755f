#include "feed_store.h"
#include "support/fixture_files.h"
#include "support/test_http_server.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <mutex>

namespace {

class feed_store_test : public ::testing::Test {
protected:
    std::string address(const std::string& path) {
        return "http://127.0.0.1:" + std::to_string(http.port()) + path;
    }
    server::sources_settings settings(std::initializer_list<std::pair<const char*, const char*>> feeds) {
        server::sources_settings s;
        for (const auto& f : feeds)
            s.categories[f.first].push_back(server::feed_source{address(f.second), 10});
        s.allow_private_addresses = true;
        return s;
    }
    std::vector<std::string> logged() {
        std::lock_guard<std::mutex> lock(m);
        return lines;
    }
    server::feed_store::logger logger() {
        return [this](const std::string& line) {
            std::lock_guard<std::mutex> lock(m);
            lines.push_back(line);
        };
    }

    test_http_server http;
    server::fetcher web{[] {
        server::fetcher::settings s;
        s.allow_private_addresses = true;
        return s;
    }()};
    std::mutex m;
    std::vector<std::string> lines;
};

TEST_F(feed_store_test, a_category_merges_its_feeds_newest_first) {
    http.add_route("/rss2", read_fixture("rss2.xml"));
    http.add_route("/atom", read_fixture("atom.xml"));
    server::feed_store store(
        settings({{"/news/world", "/rss2"}, {"/news/world", "/atom"}, {"/news/science", "/atom"}}), web,
        logger());
    EXPECT_EQ(store.urls(), (std::vector<std::string>{"/news/science", "/news/world"}));
    server::category_entry c;
    ASSERT_TRUE(store.category("/news/world", c));
    EXPECT_TRUE(c.articles.empty()); // nothing before the first refresh
    EXPECT_EQ(store.refresh(1796600000), 3);
    ASSERT_TRUE(store.category("/news/world", c));
    ASSERT_EQ(c.articles.size(), 7u);
    EXPECT_EQ(c.articles[0].headline, "Ferry service <resumes> after the storm");
    EXPECT_EQ(c.articles[0].published, "2026-12-06 07:30");
    EXPECT_EQ(c.articles[0].location, "Harbour Gazette & Friends");
    EXPECT_EQ(c.articles[1].headline, "Comet brightens");
    EXPECT_EQ(c.stamp, "20261206T073000");
    // The article's text: paragraphs of its HTML without script, form and tracker.
    EXPECT_EQ(c.articles[0].paragraphs,
              (std::vector<std::string>{
                  "The first ferry left the quay at dawn, packed with caf\u00e9 owners & fishermen.",
                  "Timetable restored", "Fares unchanged", "Harbour master:", "\"We are back.\""}));
    EXPECT_EQ(c.articles[0].picture_url, address("/pictures/ferry.webp"));
    // A picture found in the description's HTML, and none for the podcast.
    for (const auto& a : c.articles) {
        if (a.headline == "Lighthouse repainted") {
            EXPECT_EQ(a.picture_url, address("/pictures/lighthouse.png"));
        } else if (a.headline == "Harbour podcast: the tides") {
            EXPECT_EQ(a.picture_url, "");
        }
    }
    // Before the interval has passed, nothing is asked again.
    EXPECT_EQ(store.refresh(1796600000 + 60), 0);
    EXPECT_EQ(store.next_due(), 1796600000 + 600);
}

TEST_F(feed_store_test, failing_feeds_keep_their_last_good_items_and_are_logged) {
    const std::string good = read_fixture("rss1.xml");
    http.add_handler("/feed",
                     [&](const std::string&) { return http_response(200, good, "ETag: \"v1\"\r\n"); });
    server::feed_store store(settings({{"/news/valley", "/feed"}}), web, logger());
    std::int64_t now = 1796600000;
    store.refresh(now);
    server::category_entry before;
    ASSERT_TRUE(store.category("/news/valley", before));
    ASSERT_EQ(before.articles.size(), 2u);

    const std::pair<const char*, std::function<void()>> failures[] = {
        {"HTTP 404",
         [&] { http.add_handler("/feed", [](const std::string&) { return http_response(404, "gone"); }); }},
        {"not a readable XML document", [&] { http.add_route("/feed", "<rss><channel><item>"); }},
        {"neither RSS nor Atom", [&] { http.add_route("/feed", "<html><body>maintenance</body></html>"); }},
        {"not modified",
         [&] { http.add_handler("/feed", [](const std::string&) { return http_response(304, ""); }); }},
        {"too many requests",
         [&] {
             http.add_handler("/feed", [](const std::string&) {
                 return http_response(429, "slow down", "Retry-After: 3600\r\n");
             });
         }},
        {"still waiting", [] {}}, // within the hour the host asked for, it is not asked at all
    };
    for (const auto& f : failures) {
        http.add_handler("/feed", nullptr);
        f.second();
        now += 700;
        EXPECT_EQ(store.refresh(now), 1);
        server::category_entry after;
        ASSERT_TRUE(store.category("/news/valley", after));
        ASSERT_EQ(after.articles.size(), 2u) << f.first;
        EXPECT_EQ(after.stamp, before.stamp) << f.first;
        EXPECT_EQ(after.articles[0].id, before.articles[0].id) << f.first;
    }
    const std::vector<std::string> asked = http.targets();
    EXPECT_EQ(std::count(asked.begin(), asked.end(), "/feed"), 6);
    const std::vector<std::string> l = logged();
    ASSERT_EQ(l.size(), 5u);
    EXPECT_NE(l[0].find("HTTP 404"), std::string::npos) << l[0];
    EXPECT_NE(l[0].find("keeping its last items"), std::string::npos) << l[0];
    EXPECT_NE(l[1].find("not a readable XML document"), std::string::npos) << l[1];
    EXPECT_NE(l[2].find("neither RSS nor Atom"), std::string::npos) << l[2];
    EXPECT_NE(l[3].find("429"), std::string::npos) << l[3];
    EXPECT_NE(l[4].find("asked to wait"), std::string::npos) << l[4];
    EXPECT_NE(l[4].find("keeping its last items"), std::string::npos) << l[4];
}

TEST_F(feed_store_test, undated_items_count_from_when_they_were_first_seen) {
    http.add_route("/board", read_fixture("nodates.xml"));
    server::feed_store store(settings({{"/news/board", "/board"}}), web, logger());
    store.refresh(1796600000);
    server::category_entry c;
    ASSERT_TRUE(store.category("/news/board", c));
    ASSERT_EQ(c.articles.size(), 3u);
    EXPECT_EQ(c.articles[0].headline, "Hall closed on Monday"); // the feed's own order
    EXPECT_EQ(c.stamp, server::compact_stamp(1796600000));
    EXPECT_EQ(c.articles[1].paragraphs, std::vector<std::string>{"Rehearsals on Fridays."});
    EXPECT_EQ(c.articles[0].paragraphs, std::vector<std::string>{"Hall closed on Monday"});

    // A new item on top, the others unchanged: only the new one is newer, and the stamp moves on.
    std::string more = read_fixture("nodates.xml");
    more.insert(more.find("<item>"),
                "<item><title>Bake sale</title><link>http://board.test/bake</link></item>");
    http.add_route("/board", more);
    store.refresh(1796600000 + 3600);
    ASSERT_TRUE(store.category("/news/board", c));
    ASSERT_EQ(c.articles.size(), 4u);
    EXPECT_EQ(c.articles[0].headline, "Bake sale");
    EXPECT_EQ(c.articles[0].published, server::minute_text(1796600000 + 3600));
    EXPECT_EQ(c.articles[1].published, server::minute_text(1796600000));
    EXPECT_EQ(c.stamp, server::compact_stamp(1796600000 + 3600));
}

TEST_F(feed_store_test, a_hanging_host_does_not_hold_up_the_other_feeds) {
    http.add_silent_route("/hangs");
    test_http_server other;
    other.add_route("/rss2", read_fixture("rss2.xml"));
    server::sources_settings s = settings({{"/news/world", "/hangs"}});
    s.categories["/news/world"].push_back(
        server::feed_source{"http://127.0.0.1:" + std::to_string(other.port()) + "/rss2", 10});
    server::fetcher::settings quick;
    quick.allow_private_addresses = true;
    quick.connect_timeout_ms = 1000;
    server::fetcher impatient(quick);
    server::feed_store store(s, impatient, logger(), 1500);
    EXPECT_EQ(store.refresh(1796600000), 2);
    server::category_entry c;
    ASSERT_TRUE(store.category("/news/world", c));
    EXPECT_EQ(c.articles.size(), 4u);
    ASSERT_EQ(logged().size(), 1u);
    EXPECT_NE(logged()[0].find("/hangs"), std::string::npos);
}

} // namespace
