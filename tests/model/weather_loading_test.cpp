// Weather objects reloading through the loading thread from a server that has stopped, answers garbage or
// hangs: each ends failed, logs what its loader logs, shows no half list and keeps what its last good
// document gave it.
#include "model/weather/loaders.h"
#include "model/weather/manager.h"
#include "net/loading_manager.h"
#include "support/loading_fixture.h"
#include "support/loading_marker.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <tuple>

namespace {

using namespace weather_impl;
using object_ptr = boost::shared_ptr<cl::i_async_info_object>;

struct weather_object {
    const char* name;
    std::string target;
    std::string document;
    object_ptr (*make)(weather::manager&);
    // What the good document set besides the list, as text; null when there is nothing.
    std::string (*kept)(cl::i_async_info_object&);
    // The line the object writes itself when its load fails; null when the loading thread logs the error.
    const char* own_failure_line;
};

// Whether a page would see the object's list; releases the lock it took.
bool shows_list(cl::i_async_info_object& o) {
    if (auto* region = dynamic_cast<weather::region_map*>(&o))
        return region->lock_children() && (region->unlock_children(), true);
    if (auto* zone = dynamic_cast<weather::zone_map*>(&o))
        return zone->lock_children() && (zone->unlock_children(), true);
    if (auto* search = dynamic_cast<weather::city_search*>(&o))
        return search->lock_result() && (search->unlock_result(), true);
    auto& city = dynamic_cast<weather::city&>(o);
    return city.lock_forecast() && (city.unlock_forecast(), true);
}

const weather_object objects[] = {
    {"region_map", "/zorwmaps?pmap=2",
     "<mapinfo><map id=\"eu-west\" centerlat=\"48\" centerlon=\"2\" aspectratio=\"1.3\" distance=\"900\"/>"
     "<map id=\"eu-north\" centerlat=\"60\" centerlon=\"15\" aspectratio=\"1\" distance=\"1200\"/></mapinfo>",
     [](weather::manager& m) -> object_ptr { return m.regions()[1]; }, nullptr, nullptr},
    {"zone_map", "/zorwmaps?mapid=eu-west",
     "<mapinfo><map centerlat=\"51.5\" centerlon=\"-0.1\" aspectratio=\"1.3\" distance=\"700\" "
     "filename=\"/zones/eu-west.jpeg\"><city latitude=\"51.5\" longitude=\"-0.12\" temperature=\"7\" "
     "name=\"London\" id=\"1\"/></map></mapinfo>",
     [](weather::manager&) -> object_ptr {
         return weather::zone_ptr(new zone_map_impl(L"eu-west", nullptr, 50, 10, 1.25, 900));
     },
     [](cl::i_async_info_object& o) {
         auto& zone = dynamic_cast<weather::zone_map&>(o);
         const auto picture = zone.picture();
         return std::to_string(zone.center_latitude()) + " " + std::to_string(zone.center_longitude()) + " " +
                std::to_string(zone.aspect_ratio()) + " " + std::to_string(zone.distance()) + " " +
                narrow(picture ? picture->url() : L"none");
     },
     nullptr},
    {"city_search", "/zorweather?searchcity=par",
     "<weather><searchresult><searchcity dataname=\"101\" realname=\"Paris\" country=\"France\"/>"
     "</searchresult></weather>",
     [](weather::manager& m) -> object_ptr { return m.create_search(L"par"); }, nullptr, nullptr},
    {"city", "/zorweather?requestcity=101",
     "<WeatherDetails><City><Day><date>2026-12-06</date><precipitationdesc>Rain</precipitationdesc>"
     "<skydescription>Cloudy</skydescription><tmin>-3</tmin><tmax>12</tmax><windspeed>12.5</windspeed>"
     "<icon>state_13</icon><airquality>2</airquality><uvindex>3</uvindex></Day></City></WeatherDetails>",
     [](weather::manager& m) -> object_ptr { return m.get_city(L"101", L"Paris"); },
     // The stamp of the last forecast read and the time of the last good load.
     [](cl::i_async_info_object& o) {
         return std::to_string(o.timestamp()) + "@" + std::to_string(o.load_time());
     },
     // The city handles its own failure: the message never reaches the loading thread, and the city logs it
     // on the next line.
     "City forecast load error. City id=101"},
};

using server_ptr = std::unique_ptr<test_http_server>;

// How the server breaks after a good load, and the message the load then fails with (with the transfer's
// reason in brackets), as the loading thread logs it and as a city that reads its forecast itself does.
const struct breakage {
    const char* name;
    const char* message;
    const char* own_message;
    void (*apply)(server_ptr& server, const std::string& target);
} breakages[] = {
    {"stopped", "Http request sending fails (Couldn't connect to server)",
     "Http request sending fails (Couldn't connect to server)",
     [](server_ptr& server, const std::string&) { server.reset(); }},
    {"garbage", "Invalid XML document", "not valid xml - can't parse",
     [](server_ptr& server, const std::string& target) {
         server->add_route(target, "Service temporarily unavailable, please try again later.");
     }},
    {"hanging", "Internet file reading fails (no data for 500 ms)",
     "Internet file reading fails (no data for 500 ms)",
     [](server_ptr& server, const std::string& target) { server->add_silent_route(target); }},
};

class weather_loading : public loading_fixture, public ::testing::WithParamInterface<std::tuple<int, int>> {
protected:
    void SetUp() override {
        configure("<server name=\"127.0.0.1:1\"/><weather name=\"" + host() + "\"/>");
        loader.start();
    }
    void TearDown() override {
        loader.stop();
        loading_fixture::TearDown();
    }
    // Through the loading thread, as the pages load them; a load that never ends fails the test.
    void load(const object_ptr& o) {
        loader.add_request(o);
        ASSERT_TRUE(loading_marker::loads_done(loader)) << "the load did not end";
    }

    weather::manager manager;
    cl::loading_manager loader;
};

TEST_P(weather_loading, a_broken_server_leaves_the_object_failed_with_what_it_had) {
    const weather_object& kind = objects[std::get<0>(GetParam())];
    const breakage& how = breakages[std::get<1>(GetParam())];
    const object_ptr object = kind.make(manager);
    const std::string initial = kind.kept ? kind.kept(*object) : "";

    server->add_route(kind.target, kind.document);
    load(object);
    ASSERT_FALSE(object->is_failed());
    ASSERT_TRUE(shows_list(*object));
    const std::string good = kind.kept ? kind.kept(*object) : "";
    if (kind.kept) {
        ASSERT_NE(good, initial);
    }

    how.apply(server, kind.target);
    load(object);
    EXPECT_TRUE(object->is_failed());
    EXPECT_FALSE(object->is_loaded());
    EXPECT_FALSE(shows_list(*object));
    if (kind.kept) {
        EXPECT_EQ(kind.kept(*object), good);
    }
    const std::vector<std::string> lines = log.lines();
    const std::string line =
        kind.own_failure_line ? kind.own_failure_line : std::string("Loading error. ") + how.message;
    EXPECT_THAT(lines, ::testing::Contains(line));
    if (kind.own_failure_line) {
        EXPECT_THAT(lines, ::testing::Contains(std::string("Error: ") + how.own_message));
    }
    // Only a failure left to the loading thread is logged by it, and once.
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.rfind("Loading error. ", 0) == 0; }),
              kind.own_failure_line ? 0 : 1);
}

std::string case_name(const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
    return std::string(objects[std::get<0>(info.param)].name) + "_" + breakages[std::get<1>(info.param)].name;
}

INSTANTIATE_TEST_SUITE_P(each_object_and_breakage, weather_loading,
                         ::testing::Combine(::testing::Range(0, static_cast<int>(std::size(objects))),
                                            ::testing::Range(0, static_cast<int>(std::size(breakages)))),
                         case_name);

} // namespace
