// The panel's own loaders against the content server reading fixture feeds, forecasts, cities and
// pictures from a local server.
#include "model/config.h"
#include "model/news/manager.h"
#include "model/weather/manager.h"
#include "net/held_copies.h"
#include "picture_decoder.h"
#include "support/config_file.h"
#include "support/fixture_files.h"
#include "support/fixture_sources.h"
#include "support/server_process.h"
#include "support/temp_folder.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string wide_to_utf8(const std::wstring& w) {
    std::string out;
    for (wchar_t c : w) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

class live_sources : public ::testing::Test {
protected:
    void SetUp() override {
        // The server's own answers: no held copy stands in for a broken one.
        cl::http::keep_copies_in("");
        server.reset(
            new server_process(ZOR_CONTENT_SERVER, {"--port", "0", "--sources", fixtures.sources_file()}));
        ASSERT_TRUE(server->ready());

        ASSERT_TRUE(use_config_pointed_at(folder, ZOR_DEFAULT_CONFIG, narrow(server->host())));
    }
    void TearDown() override { zor::config::reset(); }

    temp_folder folder;
    fixture_sources fixtures{folder};
    test_http_server& feeds = fixtures.server();
    std::unique_ptr<server_process> server;
};

TEST_F(live_sources, the_panel_reads_headlines_articles_and_pictures_made_from_feeds) {
    news::manager news;
    auto world = news.find_category(L"World", L"");
    ASSERT_TRUE(world);
    world->load();
    ASSERT_FALSE(world->is_failed());
    std::vector<news::headline_ptr> list;
    {
        news::headlines_lock lock(world);
        ASSERT_TRUE(lock.list());
        list.assign(lock.list()->begin(), lock.list()->end());
    }
    ASSERT_EQ(list.size(), 7u);
    EXPECT_EQ(list[0]->text(), L"Ferry service <resumes> after the storm");
    EXPECT_EQ(list[1]->text(), L"Comet brightens");

    // The ferry's picture is the feed's WebP, orange, at the thumbnail's size.
    list[0]->picture()->load();
    ASSERT_FALSE(list[0]->picture()->is_failed());
    EXPECT_EQ(list[0]->picture()->get_image()->width(), 120);
    EXPECT_EQ(list[0]->picture()->get_image()->height(), 90);
    std::string jpeg;
    ASSERT_EQ(http_get(server->port(),
                       "/pictures/news/world/" + wide_to_utf8(list[0]->id()) + ".jpg?width=64&height=48",
                       jpeg),
              200);
    server::raster served;
    std::string error;
    ASSERT_TRUE(server::decode_picture(jpeg, served, error)) << error;
    EXPECT_EQ(served.width, 64);
    EXPECT_NEAR(served.at(32, 24)[0], 255, 12);
    EXPECT_NEAR(served.at(32, 24)[1], 128, 12);
    EXPECT_NEAR(served.at(32, 24)[2], 0, 12);

    list[0]->load();
    ASSERT_FALSE(list[0]->is_failed());
    news::article_ptr a;
    {
        news::article_lock lock(list[0]);
        a = lock.article();
    }
    ASSERT_TRUE(a);
    EXPECT_EQ(a->location(), L"Harbour Gazette & Friends");
    ASSERT_EQ(a->paragraphs().size(), 5u);
    EXPECT_EQ(a->paragraphs()[0],
              L"The first ferry left the quay at dawn, packed with caf\u00e9 owners & fishermen.");
    EXPECT_EQ(a->paragraphs()[4], L"\"We are back.\"");
    a->thumbnail()->load();
    EXPECT_EQ(a->thumbnail()->get_image()->width(), 440);

    // Every category of config.xml has a document; the one whose feed is missing is empty, not an error.
    for (const auto& c : news.categories()) {
        c->load();
        EXPECT_FALSE(c->is_failed()) << wide_to_utf8(c->name());
    }
    auto business = news.find_category(L"Business", L"");
    news::headlines_lock lock(business);
    ASSERT_TRUE(lock.list());
    ASSERT_EQ(lock.list()->size(), 2u);
    EXPECT_EQ((*lock.list())[1]->text(), L"F\u00eate du fromage");
}

TEST_F(live_sources, the_panel_finds_cities_and_reads_their_forecasts) {
    weather::manager weather;
    auto search = weather.create_search(L"par");
    search->load();
    const auto* found = search->lock_result();
    ASSERT_TRUE(found);
    ASSERT_EQ(found->size(), 1u);
    weather::city_ptr paris = (*found)[0];
    search->unlock_result();
    EXPECT_EQ(paris->name(), L"Paris");
    EXPECT_EQ(paris->id(), L"2988507");
    EXPECT_EQ(paris->country(), L"France"); // named as the demo's cities are, not "FR"

    auto city = weather.get_city(paris->id(), paris->name());
    city->load();
    const auto* days = city->lock_forecast();
    ASSERT_TRUE(days);
    std::vector<weather::day_ptr> copy(*days);
    city->unlock_forecast();
    ASSERT_EQ(copy.size(), 6u);
    const std::string today = fixture_day(0);
    EXPECT_EQ(copy[0]->date(), std::wstring(today.begin(), today.end()));
    EXPECT_EQ(copy[0]->icon(), L"1");
    EXPECT_EQ(copy[0]->sky(), L"Sunny");
    EXPECT_EQ(copy[0]->t_max(), 10);
    EXPECT_EQ(copy[0]->air_quality(), 21);
    EXPECT_EQ(copy[3]->icon(), L"15");
    EXPECT_EQ(copy[3]->precipitation(), L"Thunderstorms, 95%");
    EXPECT_DOUBLE_EQ(copy[3]->wind_speed(), 41.4);

    // The zone map of Western Europe lists the fixture's French and Swiss cities with temperatures.
    auto europe = weather.regions()[1];
    europe->load();
    const auto* zones = europe->lock_children();
    ASSERT_TRUE(zones);
    std::vector<weather::zone_ptr> zone_list(*zones);
    europe->unlock_children();
    std::set<std::wstring> named;
    for (const auto& z : zone_list) {
        if (z->id() != L"eu-west")
            continue;
        z->load();
        const auto* cities = z->lock_children();
        ASSERT_TRUE(cities);
        for (const auto& c : *cities) {
            named.insert(c->name());
            EXPECT_EQ(c->temperature(), L"6");
        }
        z->unlock_children();
    }
    EXPECT_TRUE(named.count(L"Paris"));
    EXPECT_TRUE(named.count(L"Lyon"));
    // The zone's cities came in one request, and Paris was not asked again within the hour.
    int forecast_requests = 0;
    for (const std::string& t : feeds.targets())
        forecast_requests += t.rfind("/v1/forecast", 0) == 0;
    EXPECT_EQ(forecast_requests, 2);
}

TEST_F(live_sources, each_export_is_a_new_tree_switched_in_by_one_rename) {
    const std::string out = folder.file("export");
    const std::string run = std::string(ZOR_CONTENT_SERVER) + " --export " + out + " --sources " +
                            folder.file("sources.txt") + " > /dev/null 2>&1";
    ASSERT_EQ(std::system(run.c_str()), 0);
    char first[256] = {};
    ASSERT_GT(::readlink((out + "/current").c_str(), first, sizeof first - 1), 0);
    EXPECT_EQ(std::string(first).rfind("trees/", 0), 0u);
    // The export holds what the live server answers, byte for byte.
    std::ifstream in(out + "/current/files/news/world@width=120&height=90", std::ios::binary);
    const std::string exported((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string live;
    ASSERT_EQ(http_get(server->port(), "/news/world?width=120&height=90", live), 200);
    EXPECT_EQ(exported, live);
    std::ifstream forecast(out + "/current/files/zorweather@requestcity=2988507", std::ios::binary);
    const std::string days((std::istreambuf_iterator<char>(forecast)), std::istreambuf_iterator<char>());
    EXPECT_NE(days.find("<skydescription>Sunny</skydescription>"), std::string::npos) << days;
    EXPECT_NE(folder.read("export/nginx.conf").find("root " + out + "/current/files;"), std::string::npos);

    // A new item, a new tree; the one before stays for requests in flight, older ones go.
    std::string more = read_fixture("rss2.xml");
    more.insert(more.find("<item>"),
                "<item><title>Breaking: tall ship arrives</title><link>http://g.test/ship</link>"
                "<pubDate>Sun, 06 Dec 2026 09:00:00 GMT</pubDate></item>");
    feeds.add_route("/feeds/rss2.xml", more);
    ASSERT_EQ(std::system(run.c_str()), 0);
    char second[256] = {};
    ASSERT_GT(::readlink((out + "/current").c_str(), second, sizeof second - 1), 0);
    EXPECT_NE(std::string(first), std::string(second));
    EXPECT_NE(folder.read("export/current/files/news/world@width=120&height=90").find("tall ship"),
              std::string::npos);
    EXPECT_TRUE(folder.exists("export/" + std::string(first)));
    ASSERT_EQ(std::system(run.c_str()), 0);
    EXPECT_FALSE(folder.exists("export/" + std::string(first)));
    EXPECT_TRUE(folder.exists("export/" + std::string(second)));
}

TEST_F(live_sources, a_refreshing_export_writes_its_first_tree_and_ends_cleanly_on_a_signal) {
    const std::string out = folder.file("refreshing");
    int said[2];
    ASSERT_EQ(::pipe(said), 0);
    const pid_t exporter = ::fork();
    if (exporter == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(said[1], STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::close(said[0]);
        ::execl(ZOR_CONTENT_SERVER, "zor-content-server", "--export", out.c_str(), "--sources",
                fixtures.sources_file().c_str(), "--refresh", "60", nullptr);
        ::_exit(127);
    }
    ::close(said[1]);
    ASSERT_GT(exporter, 0);
    // The first tree comes before the first wait, and the process says so; it then sleeps until the next
    // refresh. Its output ends early only if it dies.
    std::string told;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (told.find("export written") == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{said[0], POLLIN, 0};
        char chunk[256];
        ssize_t n = 0;
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0 ||
            (n = ::read(said[0], chunk, sizeof chunk)) <= 0)
            break;
        told.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(said[0]);
    int status = 0;
    EXPECT_NE(told.find("export written"), std::string::npos) << told;
    EXPECT_TRUE(folder.exists("refreshing/current/files/news/world@width=120&height=90"));
    ::kill(exporter, SIGTERM);
    ASSERT_EQ(::waitpid(exporter, &status, 0), exporter);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

} // namespace
