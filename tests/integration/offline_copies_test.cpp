// The panel without its server: the last run's copies, from the reference content server, fill the news and
// the weather with their age; a damaged copy is never shown; the copies stay within their limit; an unchanged
// document is only confirmed.
#include "model/config.h"
#include "model/news/headline.h"
#include "model/news/manager.h"
#include "model/updated_mark.h"
#include "model/weather/manager.h"
#include "net/held_copies.h"
#include "support/config_file.h"
#include "support/log_capture.h"
#include "support/server_process.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

class offline_copies : public ::testing::Test {
protected:
    void SetUp() override {
        port = free_port();
        cl::http::keep_copies_in(copies.file("zor"));
    }
    void TearDown() override {
        cl::http::keep_copies_in("");
        zor::config::reset();
    }
    // The server always on the same port, as a user's server keeps its address: the copies are kept by it.
    void start() {
        server.reset(new server_process(ZOR_CONTENT_SERVER, {"--port", std::to_string(port)}));
        ASSERT_TRUE(server->ready());
        ASSERT_TRUE(use_config_pointed_at(folder, ZOR_DEFAULT_CONFIG, "127.0.0.1:" + std::to_string(port)));
    }
    // The panel starts again, its server gone.
    void start_without_server() {
        server->stop();
        zor::config::reset();
        ASSERT_TRUE(use_config_pointed_at(folder, ZOR_DEFAULT_CONFIG, "127.0.0.1:" + std::to_string(port)));
    }
    static std::vector<news::headline_ptr> headlines(const news::category_ptr& c) {
        news::headlines_lock lock(c);
        return lock.list() ? *lock.list() : std::vector<news::headline_ptr>();
    }
    static std::size_t days(const weather::city_ptr& city) {
        weather::forecast_lock lock(city);
        return lock ? lock->size() : 0;
    }
    static std::size_t paragraphs(const news::headline_ptr& h) {
        news::article_lock lock(h);
        return lock.article() ? lock.article()->paragraphs().size() : 0;
    }
    std::vector<std::filesystem::path> entries() const {
        std::vector<std::filesystem::path> found;
        for (const auto& f : std::filesystem::directory_iterator(copies.file("zor")))
            if (f.path().extension() == ".entry")
                found.push_back(f.path());
        return found;
    }

    int port = 0;
    temp_folder copies;
    temp_folder folder;
    std::unique_ptr<server_process> server;
};

TEST_F(offline_copies, a_stopped_server_leaves_the_last_news_and_forecast_with_their_age) {
    start();
    {
        news::manager news;
        auto world = news.categories()[0];
        world->load();
        ASSERT_FALSE(world->is_failed());
        EXPECT_EQ(world->copy_time(), 0);
        ASSERT_FALSE(headlines(world).empty());
        headlines(world)[0]->load();
        ASSERT_GE(paragraphs(headlines(world)[0]), 3u);
        ASSERT_TRUE(headlines(world)[0]->picture());
        headlines(world)[0]->picture()->load();
        weather::manager weather;
        auto london = weather.get_city(L"100001", L"London");
        london->load();
        ASSERT_GE(days(london), 5u);
        EXPECT_EQ(london->copy_time(), 0);

        // Asked again, the unchanged document is only confirmed: a 304, no body.
        std::vector<std::string> lines;
        {
            log_capture log;
            world->load();
            lines = log.lines();
        }
        EXPECT_FALSE(world->is_modified());
        EXPECT_EQ(world->copy_time(), 0);
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
            return l.rfind("Not modified: /news/", 0) == 0;
        }));
    }
    // A new start without the server: everything comes from the copies, marked with their age.
    start_without_server();
    news::manager news;
    auto world = news.categories()[0];
    world->load();
    EXPECT_TRUE(world->is_loaded());
    EXPECT_FALSE(world->is_failed());
    const auto shown = headlines(world);
    ASSERT_FALSE(shown.empty());
    EXPECT_GT(world->copy_time(), 0);
    EXPECT_EQ(zor::updated_mark(world->copy_time()).rfind(L"Updated ", 0), 0u);
    shown[0]->load();
    EXPECT_FALSE(shown[0]->is_failed());
    EXPECT_GE(paragraphs(shown[0]), 3u);
    EXPECT_GT(shown[0]->copy_time(), 0);
    ASSERT_TRUE(shown[0]->picture());
    shown[0]->picture()->load();
    EXPECT_FALSE(shown[0]->picture()->is_failed());
    weather::manager weather;
    auto london = weather.get_city(L"100001", L"London");
    london->load();
    EXPECT_FALSE(london->is_failed());
    EXPECT_GE(days(london), 1u);
    EXPECT_GT(london->copy_time(), 0);

    // What never had a copy fails as before.
    auto business = news.categories()[1];
    business->load();
    EXPECT_TRUE(business->is_failed());
}

TEST_F(offline_copies, a_damaged_copy_is_dropped_and_the_copies_keep_their_limit) {
    const std::uint64_t limit = 60 << 10;
    cl::http::keep_copies_in(copies.file("zor"), limit);
    start();
    {
        news::manager news;
        for (const auto& c : news.categories()) {
            c->load();
            for (const auto& h : headlines(c))
                if (h->picture())
                    h->picture()->load();
        }
    }
    std::uint64_t total = 0;
    for (const auto& f : entries())
        total += std::filesystem::file_size(f);
    EXPECT_LE(total, limit);
    EXPECT_GT(total, limit / 2);

    // Only the first category's document is kept, and it is damaged on the disk.
    cl::http::keep_copies_in(copies.file("zor"));
    std::filesystem::remove_all(copies.file("zor"));
    {
        news::manager news;
        news.categories()[0]->load();
    }
    ASSERT_EQ(entries().size(), 1u);
    const auto damaged = entries()[0];
    std::filesystem::resize_file(damaged, std::filesystem::file_size(damaged) / 2);
    start_without_server();
    news::manager news;
    auto world = news.categories()[0];
    world->load();
    EXPECT_TRUE(world->is_failed());
    EXPECT_TRUE(headlines(world).empty());
    EXPECT_FALSE(std::filesystem::exists(damaged));
}

} // namespace
