// The loop thread's readers while the loading thread's document is held by the server: no model object keeps
// its lock across a transfer, and shared values are read safely from both threads (run under
// ThreadSanitizer too).
#include "model/news/headline.h"
#include "model/news/manager.h"
#include "model/weather/weather_impl.h"
#include "support/loading_fixture.h"

#include <condition_variable>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace {

// A call on a thread of its own; finished() waits for its end up to a generous deadline.
class call_on_thread {
public:
    explicit call_on_thread(std::function<void()> call)
        : worker([this, call] {
              try {
                  call();
              } catch (const std::exception&) {
              }
              {
                  std::lock_guard<std::mutex> lock(m);
                  done = true;
              }
              cv.notify_all();
          }) {}
    ~call_on_thread() { worker.join(); }
    bool finished(int deadline_ms = 15000) {
        std::unique_lock<std::mutex> lock(m);
        return cv.wait_for(lock, std::chrono::milliseconds(deadline_ms), [this] { return done; });
    }

private:
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    std::thread worker;
};

std::string headlines(const char* stamp, int count, const char* word) {
    std::string doc = std::string("<newsheadline timestamp=\"") + stamp + "\">";
    for (int i = 0; i < count; ++i)
        doc += "<headline id=\"h" + std::to_string(i) + "\" timestamp=\"1\"><text>" + word +
               "</text></headline>";
    return doc + "</newsheadline>";
}

class transfer_lock : public loading_fixture {
protected:
    void SetUp() override { configure_world_news(true); }

    // The category loaded once from a document of three headlines.
    news::category_ptr loaded_world() {
        server->add_route("/news/world", headlines("20261201T100000", 3, "Old"));
        news::category_ptr world = news.categories()[0];
        world->load();
        return world;
    }

    // Loads on a thread of its own while the server holds the target; the reader, on a thread standing for
    // the loop's, must end before the server lets the transfer go.
    void read_while_held(const std::string& target, const std::function<void()>& load,
                         const std::function<void()>& read) {
        server->hold(target);
        call_on_thread loading(load);
        ASSERT_TRUE(server->wait_until_held(target));
        {
            call_on_thread loop(read);
            EXPECT_TRUE(loop.finished()) << "the loop thread waited for the transfer";
            server->release(target);
        }
        ASSERT_TRUE(loading.finished());
    }

    // Only the test's release ends a held transfer, never a stall time-out.
    stall_limit patient{120000};
    news::manager news;
};

TEST_F(transfer_lock, a_map_gives_its_picture_while_its_document_is_held) {
    using weather_impl::region_map_impl;
    using weather_impl::zone_map_impl;
    server->add_route("/zorwmaps?pmap=eu", "<mapinfo><map id=\"z1\" centerlat=\"1\" centerlon=\"2\" "
                                           "aspectratio=\"1\" distance=\"1\"/></mapinfo>");
    server->add_route("/zorwmaps?mapid=z1", "<mapinfo><map filename=\"/z1.png\"><city latitude=\"1\" "
                                            "longitude=\"2\" temperature=\"3\" name=\"Oslo\" id=\"7\"/></map>"
                                            "</mapinfo>");
    boost::shared_ptr<cl::ui::async_picture> continent(new cl::ui::async_picture(
        L"/eu.png", server->host(), cl::ui::picture_flags::wait_icon, cl::ui::picture_flags::no_failure_image,
        cl::ui::picture::top_left, cl::ui::picture_flags::own_size, cl::ui::picture_flags::in_budget));
    struct held_map {
        const char* target;
        boost::shared_ptr<weather::zone_map> zone;
        boost::shared_ptr<weather::region_map> region;
    } maps[] = {
        {"/zorwmaps?pmap=eu", nullptr,
         boost::shared_ptr<region_map_impl>(new region_map_impl(L"eu", continent, 1, 2, 1, 1))},
        {"/zorwmaps?mapid=z1",
         boost::shared_ptr<zone_map_impl>(new zone_map_impl(L"z1", nullptr, 1, 2, 1, 1)), nullptr},
    };
    for (const held_map& map : maps) {
        SCOPED_TRACE(map.target);
        cl::i_async_info_object& target = map.zone ? static_cast<cl::i_async_info_object&>(*map.zone)
                                                   : static_cast<cl::i_async_info_object&>(*map.region);
        // What the loop thread asks for every frame of the map page.
        ASSERT_NO_FATAL_FAILURE(read_while_held(
            map.target, [&] { target.load(); },
            [&] {
                if (map.zone) {
                    map.zone->picture();
                    if (map.zone->lock_children())
                        map.zone->unlock_children();
                } else {
                    EXPECT_EQ(map.region->picture(), continent);
                    if (map.region->lock_children())
                        map.region->unlock_children();
                }
            }));
        EXPECT_TRUE(target.is_loaded());
    }
    const auto* cities = maps[1].zone->lock_children();
    ASSERT_NE(cities, nullptr);
    EXPECT_EQ(cities->size(), 1u);
    maps[1].zone->unlock_children();
    ASSERT_TRUE(maps[1].zone->picture());
    EXPECT_EQ(maps[1].zone->picture()->url(), L"/z1.png");
}

TEST_F(transfer_lock, a_category_shows_its_headlines_while_a_newer_document_is_held) {
    news::category_ptr world = loaded_world();
    server->add_route("/news/world", headlines("20261202T100000", 5, "New"));
    // The ticker and the headlines page.
    ASSERT_NO_FATAL_FAILURE(read_while_held(
        "/news/world", [&] { world->load(); },
        [&] {
            news::headlines_lock lock(world);
            ASSERT_NE(lock.list(), nullptr);
            ASSERT_EQ(lock.list()->size(), 3u);
            EXPECT_EQ(lock.list()->front()->text(), L"Old");
        }));
    news::headlines_lock lock(world);
    ASSERT_NE(lock.list(), nullptr);
    EXPECT_EQ(lock.list()->size(), 5u);
    EXPECT_TRUE(world->is_modified());
}

TEST_F(transfer_lock, a_headline_gives_its_article_while_the_article_document_is_held) {
    loaded_world();
    news::headline_ptr first = news.find_headline(L"World", L"", L"h0");
    ASSERT_TRUE(first);
    const std::string target = "/news/world?itemid=h0&width=440&height=330";
    server->add_route(target,
                      "<article><location>Oslo</location><text><paragraph>One.</paragraph></text></article>");
    ASSERT_NO_FATAL_FAILURE(read_while_held(
        target, [&] { first->load(); },
        [&] {
            news::article_lock lock(first);
            EXPECT_FALSE(lock.article()); // not read yet
        }));
    news::article_lock lock(first);
    ASSERT_TRUE(lock.article());
    EXPECT_EQ(lock.article()->paragraphs(), std::vector<std::wstring>{L"One."});
}

TEST_F(transfer_lock, the_article_page_sets_the_picture_size_while_the_loading_thread_fetches_the_picture) {
    loaded_world();
    news::headline_ptr first = news.find_headline(L"World", L"", L"h0");
    ASSERT_TRUE(first);
    server->add_route(
        "/news/world?itemid=h0&width=440&height=330",
        "<article><datacontent><image url=\"/big.png\"/><thumbnail url=\"/small.png\"/></datacontent>"
        "<location>Oslo</location><text><paragraph>One.</paragraph></text></article>");
    server->add_route(
        "/news/world?itemid=h0&width=200&height=200",
        "<article><datacontent><image url=\"/big.png\"/><thumbnail url=\"/p200.png\"/></datacontent>"
        "<text/></article>");
    first->load();
    news::article_ptr article;
    {
        news::article_lock lock(first);
        article = lock.article();
    }
    ASSERT_TRUE(article && article->full_sized_picture());
    // The loop thread sizes the picture under the headline's lock, as the picture page does every time it
    // asks, while the loading thread fetches at the size it reads.
    const int rounds = 20;
    call_on_thread loading([&] {
        for (int i = 0; i < rounds; ++i)
            article->load();
    });
    call_on_thread loop([&] {
        for (int i = 0; i < rounds * 10; ++i) {
            news::article_lock lock(first);
            if (const news::article_ptr held = lock.article())
                held->set_picture_size(200, 200);
        }
    });
    ASSERT_TRUE(loop.finished());
    ASSERT_TRUE(loading.finished());
    // Both halves of the size arrive: the picture made at that size is asked for.
    article->load();
    EXPECT_EQ(article->full_sized_picture()->url(), L"/p200.png");
}

TEST_F(transfer_lock, both_threads_reading_a_fresh_configuration_see_the_same_decoded_text) {
    // Long names full of entities: decoding them takes long enough for a second reader to meet it half done.
    std::string name, expected;
    for (int i = 0; i < 2000; ++i) {
        name += "a&amp;lt;&#x42;";
        expected += "a&lt;B";
    }
    const std::wstring wide(expected.begin(), expected.end());
    const std::string h = narrow(server->host());
    for (int round = 0; round < 20; ++round) {
        use_config(folder, "<internet><server name=\"" + h + "\"/><news><categories><category name=\"" +
                               name + "\" url=\"/w\" color=\"1,2,3\"/></categories></news></internet>");
        std::mutex m;
        std::condition_variable cv;
        int ready = 0;
        auto read = [&] {
            {
                std::unique_lock<std::mutex> lock(m);
                ++ready;
                cv.notify_all();
                cv.wait(lock, [&] { return ready == 2; });
            }
            const zor::config::items items =
                zor::config::instance().get_items(zor::config::internet, zor::config::categories);
            EXPECT_EQ(zor::config::attribute(items.front(), zor::config::name), wide);
        };
        call_on_thread loop(read);
        call_on_thread loading(read);
        ASSERT_TRUE(loop.finished());
        ASSERT_TRUE(loading.finished());
        if (HasFailure())
            break;
    }
}

} // namespace
