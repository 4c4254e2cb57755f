// The panel's own loaders against the content server reading fixture feeds, forecasts, cities and
// pictures from a local server.
#include "model/config.h"
#include "model/news/manager.h"
#include "model/weather/manager.h"
#include "picture_decoder.h"
#include "support/fixture_files.h"
#include "support/picture_maker.h"
#include "support/server_process.h"
#include "support/temp_folder.h"
#include "support/test_http_server.h"

#include <fstream>
#include <gtest/gtest.h>
#include <webp/encode.h>

namespace {

std::string as_text(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::string solid_webp(int w, int h) {
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < w * h; ++i)
        rgb.insert(rgb.end(), {255, 128, 0});
    std::uint8_t* out = nullptr;
    const std::size_t size = WebPEncodeLosslessRGB(rgb.data(), w, h, w * 3, &out);
    std::string bytes(reinterpret_cast<const char*>(out), size);
    WebPFree(out);
    return bytes;
}

// Open-Meteo's answer for as many places as the request names: one object, or an array of them.
std::string per_place(const std::string& request, const std::string& one) {
    const std::size_t at = request.find("latitude=");
    const std::string lat = request.substr(at, request.find('&', at) - at);
    const std::size_t places = static_cast<std::size_t>(std::count(lat.begin(), lat.end(), ',')) + 1;
    if (places == 1)
        return http_response(200, one, "Content-Type: application/json\r\n");
    std::string all = "[";
    for (std::size_t i = 0; i < places; ++i)
        all += (i ? "," : "") + one;
    return http_response(200, all + "]", "Content-Type: application/json\r\n");
}

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
        feeds.add_route("/feeds/rss2.xml", read_fixture("rss2.xml"));
        feeds.add_route("/feeds/atom.xml", read_fixture("atom.xml"));
        feeds.add_route("/feeds/rss1.xml", read_fixture("rss1.xml"));
        feeds.add_route("/feeds/nodates.xml", read_fixture("nodates.xml"));
        feeds.add_route("/pictures/ferry.webp", solid_webp(300, 200));
        feeds.add_route("/pictures/lighthouse.png",
                        as_text(encode_png(64, 64, solid_rgba(64, 64, 0, 0, 255, 255))));
        std::vector<std::uint8_t> grey(80 * 60 * 3, 90);
        feeds.add_route("/pictures/comet.jpg", as_text(encode_jpeg(80, 60, grey)));
        const std::string forecast = read_fixture("forecast.json"), air = read_fixture("air_quality.json");
        feeds.add_handler("/v1/forecast",
                          [forecast](const std::string& r) { return per_place(r, forecast); });
        feeds.add_handler("/v1/air-quality", [air](const std::string& r) { return per_place(r, air); });

        const std::string base = "http://127.0.0.1:" + std::to_string(feeds.port());
        folder.write("sources.txt", "# the fixtures\n"
                                    "allow-private-addresses\n"
                                    "feed /news/world " +
                                        base + "/feeds/rss2.xml " + base +
                                        "/feeds/atom.xml\n"
                                        "feed /news/business " +
                                        base +
                                        "/feeds/rss1.xml\n"
                                        "feed /news/technology " +
                                        base +
                                        "/feeds/atom.xml\n"
                                        "feed /news/sport " +
                                        base +
                                        "/feeds/nodates.xml\n"
                                        "feed /news/sport/football " +
                                        base +
                                        "/feeds/rss2.xml\n"
                                        "feed /news/sport/tennis " +
                                        base +
                                        "/feeds/rss1.xml\n"
                                        "feed /news/science " +
                                        base +
                                        "/feeds/atom.xml\n"
                                        "feed /news/culture " +
                                        base +
                                        "/feeds/missing.xml\n"
                                        "forecast " +
                                        base +
                                        "/v1/forecast\n"
                                        "air-quality " +
                                        base +
                                        "/v1/air-quality\n"
                                        "cities " +
                                        fixture_path("cities.txt") + "\n");
        server.reset(
            new server_process(ZOR_CONTENT_SERVER, {"--port", "0", "--sources", folder.file("sources.txt")}));
        ASSERT_TRUE(server->ready());

        std::ifstream in(ZOR_DEFAULT_CONFIG);
        std::string config((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string host = "127.0.0.1:" + std::to_string(server->port());
        for (const char* tag : {"<server name=\"", "<weather name=\""}) {
            std::size_t at = config.find(tag);
            ASSERT_NE(at, std::string::npos);
            at += std::string(tag).size();
            config.replace(at, config.find('"', at) - at, host);
        }
        folder.write("config.xml", config);
        zor::config::reset();
        zor::config::init(folder.wpath());
    }
    void TearDown() override { zor::config::reset(); }

    test_http_server feeds;
    temp_folder folder;
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

    auto city = weather.get_city(paris->id(), paris->name());
    city->load();
    const auto* days = city->lock_forecast();
    ASSERT_TRUE(days);
    std::vector<weather::day_ptr> copy(*days);
    city->unlock_forecast();
    ASSERT_EQ(copy.size(), 6u);
    EXPECT_EQ(copy[0]->date(), L"2026-12-06");
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

} // namespace
