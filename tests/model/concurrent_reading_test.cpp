// A page reading under the guards on its own thread while the loading thread keeps reloading the same
// categories, headlines and cities (run under ThreadSanitizer too).
#include "model/news/manager.h"
#include "model/weather/manager.h"
#include "net/loading_manager.h"
#include "support/loading_fixture.h"
#include "support/loading_marker.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

class concurrent_reading : public loading_fixture {};

TEST_F(concurrent_reading, readers_under_the_guards_never_see_a_list_being_replaced) {
    configure_world_news(true);
    std::string headlines = "<newsheadline timestamp=\"20261201T100000\">";
    for (int i = 0; i < 20; ++i)
        headlines += "<headline id=\"h" + std::to_string(i) + "\" timestamp=\"1\"><text>Story " +
                     std::to_string(i) + "</text></headline>";
    server->add_route("/news/world", headlines + "</newsheadline>");
    server->add_route("/news/world?itemid=h0&width=440&height=330",
                      "<article><location>Oslo</location><text><paragraph>One.</paragraph></text></article>");
    server->add_route(
        "/zorweather?requestcity=7",
        "<WeatherDetails><City><Day><date>d</date><precipitationdesc>p</precipitationdesc>"
        "<skydescription>s</skydescription><tmin>1</tmin><tmax>2</tmax><windspeed>3</windspeed>"
        "<icon>1</icon><airquality>1</airquality><uvindex>1</uvindex></Day></City></WeatherDetails>");

    news::manager news;
    weather::manager weather;
    auto world = news.categories()[0];
    auto city = weather.get_city(L"7", L"Oslo");
    cl::loading_manager loader;
    loader.start();

    std::atomic<bool> done{false};
    std::atomic<int> reads{0};
    std::thread page([&] {
        while (!done) {
            {
                news::headlines_lock lock(world);
                if (lock.list()) {
                    for (const auto& item : *lock.list()) {
                        if (item->text().empty())
                            ADD_FAILURE();
                        news::article_lock article(item);
                        if (article.article())
                            reads += static_cast<int>(article.article()->paragraphs().size());
                    }
                    ++reads;
                }
            }
            if (const auto* days = city->lock_forecast()) {
                reads += static_cast<int>(days->size());
                city->unlock_forecast();
            }
        }
    });
    for (int round = 0; round < 30; ++round) {
        loader.add_request(world);
        loader.add_request(city);
        news::headline_ptr first = news.find_headline(L"World", L"", L"h0");
        if (first) {
            first->set_failed(true); // forces a reload of the article
            loader.add_request(first);
        }
        // Each round's loads end while the page reads, before the next round asks again.
        // (No early return: the page's thread must still be joined.)
        if (!loading_marker::loads_done(loader, std::chrono::seconds(60))) {
            ADD_FAILURE() << "round " << round << "'s loads did not end";
            break;
        }
    }
    EXPECT_FALSE(world->is_queued() || city->is_queued());
    done = true;
    page.join();
    loader.stop();
    EXPECT_GT(reads, 0);
    EXPECT_TRUE(world->is_loaded());
    EXPECT_FALSE(world->is_failed());
}

} // namespace
