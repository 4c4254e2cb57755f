#include "model/weather/loaders.h"
#include "model/weather/manager.h"
#include "net/held_copies.h"
#include "support/error_text.h"
#include "support/loading_fixture.h"
#include "support/temp_folder.h"
#include "support/test_http_server.h"

#include <atomic>
#include <ctime>
#include <gtest/gtest.h>
#include <mutex>

namespace {

using namespace weather_impl;

// The weather documents come from a test server named as the weather host of config.xml.
class weather_model : public loading_fixture {
protected:
    void SetUp() override { configure("<server name=\"127.0.0.1:1\"/><weather name=\"" + host() + "\"/>"); }
};

TEST_F(weather_model, a_region_lists_its_zones_and_keeps_what_preceded_a_bad_one) {
    weather::manager m;
    server->add_route("/zorwmaps?pmap=2",
                      "<mapinfo><map id=\"z1\" centerlat=\"51.5\" centerlon=\"-0.1\" "
                      "aspectratio=\"1.3\" distance=\"900\"/><map id=\"z2\" centerlat=\"x\" "
                      "centerlon=\"2\" aspectratio=\"1\" distance=\"1\"/></mapinfo>");
    weather::region_ptr europe = m.regions()[1];
    europe->load();
    const auto* zones = europe->lock_children();
    ASSERT_NE(zones, nullptr);
    ASSERT_EQ(zones->size(), 2u);
    EXPECT_EQ((*zones)[0]->id(), L"z1");
    EXPECT_DOUBLE_EQ((*zones)[0]->center_latitude(), 51.5);
    EXPECT_DOUBLE_EQ((*zones)[1]->center_latitude(), 0.0); // not a number
    europe->unlock_children();

    server->add_route("/zorwmaps?pmap=3", "<mapinfo/>");
    m.regions()[2]->load();
    ASSERT_NE(m.regions()[2]->lock_children(), nullptr);
    m.regions()[2]->unlock_children();

    server->add_route("/zorwmaps?pmap=5",
                      "<mapinfo><map id=\"a\" centerlat=\"1\" centerlon=\"1\" aspectratio=\"1\" "
                      "distance=\"1\"/><map id=\"b\" centerlat=\"1\"/></mapinfo>");
    EXPECT_EQ(error_text([&] { m.regions()[3]->load(); }), "Invalid XML document");
    EXPECT_EQ(static_cast<region_map_impl&>(*m.regions()[3]).child_count(), 1u);
    EXPECT_EQ(m.regions()[3]->lock_children(), nullptr);

    // Opening a region empties all eight first.
    m.load_region(europe);
    ASSERT_EQ(m.regions().size(), 8u);
    for (const auto& r : m.regions()) {
        EXPECT_EQ(r->lock_children(), nullptr) << narrow(r->id());
        EXPECT_EQ(static_cast<region_map_impl&>(*r).child_count(), 0u) << narrow(r->id());
    }
}

TEST_F(weather_model, zone_maps_keep_missing_centres_and_stop_at_a_bad_city) {
    zone_map_impl zone(L"z 1&2", nullptr, 51.5, -0.1, 1.3, 900);
    server->add_route(
        "/zorwmaps?mapid=z%201%262",
        "<mapinfo><map centerlon=\"-1.5\" filename=\"/zones/z1.jpeg\">"
        "<city latitude=\"51.5\" longitude=\"-0.12\" temperature=\"-3\" name=\"London\" id=\"1\"/>"
        "<city latitude=\"52.2\" longitude=\"0.12\" name=\"Cambridge\" id=\"2\"/>"
        "<city latitude=\"50\" longitude=\"0\" temperature=\"7\" name=\"Never\" id=\"3\"/>"
        "</map></mapinfo>");
    EXPECT_EQ(error_text([&] { zone.load(); }), "Invalid XML document");
    EXPECT_DOUBLE_EQ(zone.center_latitude(), 51.5); // kept from the region
    EXPECT_DOUBLE_EQ(zone.center_longitude(), -1.5);
    ASSERT_TRUE(zone.picture());
    EXPECT_EQ(zone.picture()->url(), L"/zones/z1.jpeg");
    EXPECT_EQ(zone.child_count(), 1u);
    EXPECT_FALSE(zone.is_loaded());
}

TEST_F(weather_model, searches_send_encoded_text_and_forecasts_read_their_days) {
    weather::manager m;
    server->add_route("/zorweather?searchcity=san%20jos%C3%A9",
                      "<weather><searchresult><searchcity dataname=\"101\" realname=\"San Jos\xc3\xa9\" "
                      "country=\"Costa Rica\"/><searchcity dataname=\"102\" realname=\"San Jose\" "
                      "country=\"United States\"/></searchresult></weather>");
    weather::search_ptr search = m.create_search(L"san jos\u00e9");
    EXPECT_NE(m.create_search(L"san jos\u00e9"), search); // a new search each time
    search->load();
    const auto* found = search->lock_result();
    ASSERT_NE(found, nullptr);
    ASSERT_EQ(found->size(), 2u);
    EXPECT_EQ((*found)[0]->name(), L"San Jos\u00e9");
    EXPECT_EQ((*found)[1]->country(), L"United States");
    search->unlock_result();

    server->add_route(
        "/zorweather?requestcity=101",
        "<WeatherDetails><City><Day><date>2026-12-06</date><precipitationdesc>Light rain"
        "</precipitationdesc><skydescription>Cloudy</skydescription><tmin>-3</tmin><tmax>12</tmax>"
        "<windspeed>12.5</windspeed><icon>state_13</icon><airquality>2</airquality>"
        "<uvindex>high</uvindex></Day></City></WeatherDetails>");
    weather::city_ptr city = m.get_city(L"101", L"San Jos\u00e9");
    EXPECT_EQ(city->lock_forecast(), nullptr); // never loaded
    // The first object for an id stays, with its name.
    EXPECT_EQ(m.get_city(L"101", L"Other"), city);
    EXPECT_EQ(city->name(), L"San Jos\u00e9");
    city->load();
    const auto* days = city->lock_forecast();
    ASSERT_NE(days, nullptr);
    ASSERT_EQ(days->size(), 1u);
    EXPECT_EQ((*days)[0]->t_min(), -3);
    EXPECT_DOUBLE_EQ((*days)[0]->wind_speed(), 12.5);
    EXPECT_EQ((*days)[0]->uv_index(), 0);
    EXPECT_EQ((*days)[0]->icon(), L"state_13");
    city->unlock_forecast();

    server->add_route("/zorweather?requestcity=102", "<WeatherDetails><City/></WeatherDetails>");
    weather::city_ptr empty = m.get_city(L"102", L"San Jose");
    empty->load();
    ASSERT_NE(empty->lock_forecast(), nullptr);
    EXPECT_TRUE(empty->lock_forecast()->empty()); // recursive lock
    empty->unlock_forecast();
    empty->unlock_forecast();
}

std::string forecast_of(const std::vector<std::string>& dates) {
    std::string doc = "<WeatherDetails><City>";
    for (const auto& d : dates)
        doc += "<Day><date>" + d +
               "</date><precipitationdesc>p</precipitationdesc><skydescription>s</skydescription><tmin>1"
               "</tmin><tmax>2</tmax><windspeed>3</windspeed><icon>state_1</icon><airquality>1</airquality>"
               "<uvindex>1</uvindex></Day>";
    return doc + "</City></WeatherDetails>";
}

std::string local_date(int days_from_today) {
    const std::time_t t = std::time(nullptr) + days_from_today * 86400;
    std::tm local{};
    localtime_r(&t, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

std::size_t day_count(const weather::city_ptr& city, std::string* first = nullptr) {
    weather::forecast_lock days(city);
    if (!days)
        return 0;
    if (first && !days->empty()) {
        const std::wstring date = (*days)[0]->date();
        *first = std::string(date.begin(), date.end());
    }
    return days->size();
}

// A held forecast standing in on a later day: the days before today are left out, and a copy whose days are
// all past is no forecast. The network's own forecast is shown as it comes.
TEST_F(weather_model, a_held_forecast_shows_its_days_from_today_and_nothing_once_past) {
    temp_folder copies;
    cl::http::keep_copies_in(copies.file("zor"));
    // Both read by the server's thread.
    std::mutex served_lock;
    std::string served = forecast_of({local_date(-1), local_date(0), local_date(1)});
    std::atomic<bool> broken{false};
    server->add_handler("/zorweather", [&](const std::string&) {
        std::lock_guard<std::mutex> lock(served_lock);
        return broken ? http_response(500, "<html>down</html>")
                      : http_response(200, served, "ETag: \"" + std::to_string(served.size()) + "\"\r\n");
    });
    weather::manager m;
    weather::city_ptr city = m.get_city(L"7", L"Here");
    city->load();
    EXPECT_EQ(day_count(city), 3u);
    EXPECT_EQ(city->copy_time(), 0);
    broken = true;
    city->load();
    std::string first;
    EXPECT_EQ(day_count(city, &first), 2u);
    EXPECT_EQ(first, local_date(0));
    EXPECT_GT(city->copy_time(), 0);
    EXPECT_FALSE(city->is_failed());

    broken = false;
    {
        std::lock_guard<std::mutex> lock(served_lock);
        served = forecast_of({local_date(-3), local_date(-2), local_date(-1)});
    }
    city->load();
    EXPECT_EQ(day_count(city), 3u);
    broken = true;
    city->load();
    EXPECT_TRUE(city->is_failed());
    cl::http::keep_copies_in("");
}

} // namespace
