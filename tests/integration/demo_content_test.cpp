// The panel's own loaders against the reference content server and its demo content.
#include "model/ads/ads.h"
#include "model/config.h"
#include "model/news/manager.h"
#include "model/weather/manager.h"
#include "net/held_copies.h"
#include "support/config_file.h"
#include "support/log_capture.h"
#include "support/server_process.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

class demo_content : public ::testing::Test {
protected:
    // These check the server's own answers: no held copy stands in for a broken one.
    void SetUp() override { cl::http::keep_copies_in(""); }
    void start(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args = {"--port", "0"};
        args.insert(args.end(), extra.begin(), extra.end());
        server.reset(new server_process(ZOR_CONTENT_SERVER, args));
        ASSERT_TRUE(server->ready());
        ASSERT_TRUE(use_config_pointed_at(folder, ZOR_DEFAULT_CONFIG, narrow(server->host())));
    }
    void TearDown() override { zor::config::reset(); }
    static std::size_t count(news::category_ptr c) {
        news::headlines_lock lock(c);
        return lock.list() ? lock.list()->size() : 0;
    }

    std::unique_ptr<server_process> server;
    temp_folder folder;
};

TEST_F(demo_content, every_document_and_picture_loads) {
    start();
    news::manager news;
    ASSERT_EQ(news.categories().size(), 6u);
    std::vector<news::category_ptr> all;
    for (const auto& c : news.categories()) {
        all.push_back(c);
        if (auto subs = c->subcategories())
            all.insert(all.end(), subs->begin(), subs->end());
    }
    EXPECT_EQ(all.size(), 8u);
    for (const auto& c : all) {
        c->load();
        EXPECT_FALSE(c->is_failed()) << std::string(c->url().begin(), c->url().end());
        EXPECT_GE(count(c), 8u);
    }
    news::headline_ptr h;
    {
        news::headlines_lock lock(all[0]);
        h = (*lock.list())[0];
    }
    h->picture()->load();
    EXPECT_FALSE(h->picture()->is_failed());
    EXPECT_EQ(h->picture()->get_image()->width(), 120);
    h->load();
    ASSERT_FALSE(h->is_failed());
    news::article_ptr a;
    {
        news::article_lock lock(h);
        a = lock.article();
    }
    ASSERT_TRUE(a);
    EXPECT_GE(a->paragraphs().size(), 3u);
    EXPECT_FALSE(a->location().empty());
    a->thumbnail()->load();
    EXPECT_EQ(a->thumbnail()->get_image()->width(), 440);
    a->set_picture_size(480, 360);
    a->load();
    ASSERT_TRUE(a->full_sized_picture()->get_image());
    EXPECT_EQ(a->full_sized_picture()->get_image()->width(), 480);
    EXPECT_EQ(a->full_sized_picture()->get_image()->height(), 360);

    ads::manager ads;
    ads.advert()->load();
    const ads::banner_list* list = ads.advert()->lock_banners();
    ASSERT_NE(list, nullptr);
    const ads::banner_list banners(*list);
    ads.advert()->unlock_banners();
    EXPECT_GE(banners.size(), 3u);
    for (const auto& banner : banners) {
        EXPECT_EQ(banner->waplink().rfind(L"http://", 0), 0u);
        banner->picture()->set_rect(platform::RECT{0, 0, 479, 71});
        banner->picture()->load();
        EXPECT_FALSE(banner->picture()->is_failed());
    }

    weather::manager weather;
    int zones = 0, cities = 0;
    for (const auto& region : weather.regions()) {
        region->load();
        region->picture()->load();
        EXPECT_FALSE(region->picture()->is_failed());
        const auto* list = region->lock_children();
        ASSERT_NE(list, nullptr);
        std::vector<weather::zone_ptr> copy(*list);
        region->unlock_children();
        EXPECT_GE(copy.size(), 3u);
        for (const auto& zone : copy) {
            ++zones;
            zone->load();
            const auto* in_zone = zone->lock_children();
            ASSERT_NE(in_zone, nullptr);
            cities += static_cast<int>(in_zone->size());
            zone->unlock_children();
            ASSERT_TRUE(zone->picture());
        }
    }
    EXPECT_GE(zones, 30);
    EXPECT_GE(cities, 300);

    for (const wchar_t* text : {L"par", L"new york", L"S\u00e3o", L"z\u00fcrich"}) {
        auto search = weather.create_search(text);
        search->load();
        const auto* found = search->lock_result();
        ASSERT_NE(found, nullptr);
        EXPECT_FALSE(found->empty()) << std::string(text, text + std::wcslen(text));
        weather::city_ptr first = found->empty() ? nullptr : (*found)[0];
        search->unlock_result();
        if (!first)
            continue;
        auto city = weather.get_city(first->id(), first->name());
        city->load();
        const auto* days = city->lock_forecast();
        ASSERT_NE(days, nullptr);
        EXPECT_GE(days->size(), 5u);
        city->unlock_forecast();
    }
}

TEST_F(demo_content, an_edited_category_is_modified_and_a_broken_server_fails_everything) {
    // A copy of the content that the test may change.
    temp_folder content;
    ASSERT_EQ(std::system(("cp -r " + std::string(ZOR_DEMO_CONTENT) + "/. " + content.path()).c_str()), 0);
    start({"--content", content.path()});
    news::manager news;
    auto science = news.find_category(L"Science", L"");
    science->load();
    ASSERT_FALSE(science->is_failed());
    science->load();
    EXPECT_FALSE(science->is_modified());
    std::ofstream(content.file("news/science/00-breaking.article"))
        << "headline: Breaking: a comet brightens over the southern sky tonight\nlocation: Santiago, Chile\n"
           "coords: -33.45, -70.67\npublished: 2026-12-06 09:00\nscene: night\n---\nFirst paragraph.\n\n"
           "Second paragraph.\n\nThird paragraph.\n";
    science->load();
    EXPECT_TRUE(science->is_modified());
    EXPECT_GE(count(science), 9u);

    auto log = std::make_unique<log_capture>();
    start({"--fail-rate", "1"}); // every answer is an error page
    news::manager broken;
    auto world = broken.categories()[0];
    world->load();
    EXPECT_TRUE(world->is_failed());
    ads::manager ads;
    EXPECT_THROW(ads.advert()->load(), std::runtime_error);
    EXPECT_FALSE(ads.advert()->is_loaded());
    server->stop(); // nobody answers
    world->load();
    EXPECT_TRUE(world->is_failed());
    // The objects made before the capture outlive it; they must not log into it.
    const std::vector<std::string> lines = log->lines();
    log.reset();
    EXPECT_THAT(lines, ::testing::Contains("Error: document is empty"));
    EXPECT_THAT(lines, ::testing::Contains("Error: Http request sending fails (Couldn't connect to server)"));
}

} // namespace
