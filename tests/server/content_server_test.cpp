// The documents and pictures of the demo content, checked against what the panel's loaders read.
#include "content_server.h"
#include "earth.h"
#include "map_projection.h"
#include "picture_renderer.h"
#include "support/temp_folder.h"
#include "weather_service.h"

#include <algorithm>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <tinyxml2.h>

namespace {

using server::content_server;

// The banners' text leaves font caches behind; they go back when the suite ends.
class release_fonts : public ::testing::Environment {
public:
    void TearDown() override {
        cairo_debug_reset_static_data();
        FcFini();
    }
};
const auto* fonts = ::testing::AddGlobalTestEnvironment(new release_fonts);

content_server& demo() {
    static content_server* s = [] {
        content_server::settings settings;
        settings.content_dir = ZOR_SERVER_CONTENT;
        return new content_server(settings);
    }();
    return *s;
}

tinyxml2::XMLDocument* parse(const std::string& target, std::string* body = nullptr) {
    static tinyxml2::XMLDocument doc;
    server::answer a = demo().get(target);
    EXPECT_EQ(a.status, 200) << target;
    if (body)
        *body = a.body;
    EXPECT_EQ(doc.Parse(a.body.c_str()), tinyxml2::XML_SUCCESS) << target;
    return &doc;
}

bool valid_stamp(const char* s) {
    int date = 0, time = 0;
    if (!s || std::sscanf(s, "%dT%d", &date, &time) != 2)
        return false;
    return date / 10000 >= 2000 && (date % 10000) / 100 >= 1 && (date % 10000) / 100 <= 12 &&
           date % 100 >= 1 && time / 10000 < 24 && (time % 10000) / 100 < 60 && time % 100 < 60;
}

// Ids and texts are required by the panel's loader, which the integration suite runs over every category.
TEST(demo_news, every_category_lists_headlines_whose_articles_and_pictures_exist) {
    for (const std::string url :
         {"/news/world", "/news/business", "/news/technology", "/news/sport", "/news/sport/football",
          "/news/sport/tennis", "/news/science", "/news/culture"}) {
        const tinyxml2::XMLElement* root =
            parse(url + "?width=120&height=90")->FirstChildElement("newsheadline");
        ASSERT_TRUE(root) << url;
        EXPECT_TRUE(valid_stamp(root->Attribute("timestamp"))) << url;
        int count = 0;
        for (auto* h = root->FirstChildElement("headline"); h;
             h = h->NextSiblingElement("headline"), ++count) {
            EXPECT_TRUE(valid_stamp(h->Attribute("timestamp"))) << url;
            const auto* image = h->FirstChildElement("image");
            ASSERT_TRUE(image && image->Attribute("url")) << url;
            EXPECT_NE(std::string(image->Attribute("url")).find("width=120&height=90"), std::string::npos);
        }
        EXPECT_GE(count, 8) << url;
        EXPECT_LE(count, 12) << url;
        const auto* first = root->FirstChildElement("headline");
        ASSERT_TRUE(first && first->Attribute("id")) << url;
        const std::string id = first->Attribute("id");
        server::answer thumb = demo().get(first->FirstChildElement("image")->Attribute("url"));
        ASSERT_EQ(thumb.status, 200);
        EXPECT_EQ(thumb.content_type, "image/jpeg");

        const auto* a = parse(url + "?itemid=" + id + "&width=440&height=330")->FirstChildElement("article");
        ASSERT_TRUE(a && a->FirstChildElement("text"));
        int paragraphs = 0;
        for (auto* p = a->FirstChildElement("text")->FirstChildElement("paragraph"); p;
             p = p->NextSiblingElement("paragraph"))
            paragraphs += p->GetText() != nullptr;
        EXPECT_GE(paragraphs, 3);
        EXPECT_LE(paragraphs, 8);
        ASSERT_TRUE(a->FirstChildElement("location") && a->FirstChildElement("location")->GetText());
        const auto* data = a->FirstChildElement("datacontent");
        ASSERT_TRUE(data && data->FirstChildElement("image") && data->FirstChildElement("thumbnail"));
        const std::string thumb_url = data->FirstChildElement("thumbnail")->Attribute("url");
        EXPECT_NE(thumb_url.find("width=440&height=330"), std::string::npos);
        EXPECT_EQ(demo().get(thumb_url).status, 200);
    }
}

// The attributes the panel's loaders require are read by them in the integration suite, map by map.
TEST(demo_weather, every_zone_has_its_picture_and_cities_inside_it) {
    for (const char* region : {"1", "2", "3", "5", "6", "7", "9", "10"}) {
        const auto* info = parse(std::string("/zorwmaps?pmap=") + region)->FirstChildElement("mapinfo");
        ASSERT_TRUE(info) << region;
        std::vector<std::string> zones;
        for (auto* m = info->FirstChildElement("map"); m; m = m->NextSiblingElement("map"))
            zones.push_back(m->Attribute("id") ? m->Attribute("id") : "");
        EXPECT_GE(zones.size(), 3u) << region;
        for (const std::string& z : zones) {
            const auto* zone = parse("/zorwmaps?mapid=" + z)->FirstChildElement("mapinfo");
            const auto* map = zone ? zone->FirstChildElement("map") : nullptr;
            ASSERT_TRUE(map && map->Attribute("filename")) << z;
            EXPECT_EQ(demo().get(map->Attribute("filename")).status, 200) << z;
            server::map_frame frame{map->DoubleAttribute("centerlat"), map->DoubleAttribute("centerlon"),
                                    map->DoubleAttribute("distance"), map->DoubleAttribute("aspectratio"),
                                    server::weather_service::zone_picture_width};
            int cities = 0;
            for (auto* c = map->FirstChildElement("city"); c; c = c->NextSiblingElement("city"), ++cities) {
                server::map_offset o =
                    server::project(frame, c->DoubleAttribute("latitude"), c->DoubleAttribute("longitude"));
                EXPECT_LT(std::abs(o.x), frame.picture_width / 2) << z << " " << c->Attribute("name");
                EXPECT_LT(std::abs(o.y), frame.picture_height() / 2) << z << " " << c->Attribute("name");
            }
            EXPECT_GE(cities, 1) << z;
        }
    }
    EXPECT_EQ(demo().get("/zorwmaps?pmap=4").status, 404);
}

TEST(demo_weather, searches_ignore_case_and_encoding_and_forecasts_are_stable) {
    std::string body;
    for (auto search :
         {std::make_pair("PAR", "realname=\"Paris\""), std::make_pair("s%C3%A3o", "S\xc3\xa3o Paulo"),
          std::make_pair("S\xc3\x83O", "S\xc3\xa3o Paulo"), // raw, upper case
          std::make_pair("new%20york", "New York")}) {
        parse(std::string("/zorweather?searchcity=") + search.first, &body);
        EXPECT_NE(body.find(search.second), std::string::npos) << search.first;
    }
    const std::size_t at = body.find("dataname=\"");
    ASSERT_NE(at, std::string::npos);
    const std::string id = body.substr(at + 10, body.find('"', at + 10) - at - 10);
    std::string first, again;
    const auto* details = parse("/zorweather?requestcity=" + id, &first)->FirstChildElement("WeatherDetails");
    const auto* city = details ? details->FirstChildElement("City") : nullptr;
    ASSERT_TRUE(city);
    int days = 0;
    for (auto* d = city->FirstChildElement("Day"); d; d = d->NextSiblingElement("Day"), ++days) {
        for (const char* e : {"date", "precipitationdesc", "skydescription", "tmin", "tmax", "windspeed",
                              "icon", "airquality", "uvindex"})
            ASSERT_TRUE(d->FirstChildElement(e) && d->FirstChildElement(e)->GetText()) << e;
        EXPECT_LE(std::atoi(d->FirstChildElement("tmin")->GetText()),
                  std::atoi(d->FirstChildElement("tmax")->GetText()));
    }
    EXPECT_GE(days, 5);
    parse("/zorweather?requestcity=" + id, &again);
    EXPECT_EQ(first, again); // stable for a city and a day
    EXPECT_EQ(demo().get("/zorweather?requestcity=0").status, 404);
}

// The panel names air-quality codes 13 to 36 and shows "N/A" for the rest; every demo day gets a named one,
// and more than a few different ones over the year.
TEST(demo_weather, every_forecast_day_has_an_air_quality_the_panel_names) {
    server::weather_service weather(ZOR_SERVER_CONTENT);
    ASSERT_GT(weather.cities().size(), 100u);
    std::set<int> seen;
    for (const auto& c : weather.cities()) {
        for (const auto& d : weather.forecast(c, 20000, 365)) {
            ASSERT_GE(d.air_quality, 13) << c.id << " " << d.date;
            ASSERT_LE(d.air_quality, 36) << c.id << " " << d.date;
            seen.insert(d.air_quality);
        }
    }
    EXPECT_GE(seen.size(), 12u);
}

// A forecast service's days dated from first_day on.
class dated_forecasts : public server::forecast_source {
public:
    long first_day = 0;
    bool forecast(const server::city_record&, std::vector<server::forecast_day>& days,
                  std::string&) override {
        for (int i = 0; i < 6; ++i) {
            server::forecast_day d;
            d.date = server::date_text(first_day + i);
            d.sky = "Sunny";
            d.icon = "1";
            days.push_back(d);
        }
        return true;
    }
};

// The panel calls the first day Today and names the rest from today's date: days a service still lists
// from before today are left out.
TEST(live_weather, a_forecast_starts_today) {
    auto service = std::make_shared<dated_forecasts>();
    server::live_sources live;
    live.forecasts = service;
    live.cities = std::make_shared<std::vector<server::city_record>>(std::vector<server::city_record>{
        {"5368361", "Los Angeles", "United States", 34.05, -118.24, "", 3898747}});
    content_server::settings settings;
    settings.content_dir = ZOR_SERVER_CONTENT;
    content_server s(settings, live);
    const long today = server::days_since_epoch_today();
    struct {
        long first_day;
        int days;
    } cases[] = {{today, 6}, {today - 1, 5}, {today - 5, 1}, {today + 1, 6}};
    for (const auto& c : cases) {
        service->first_day = c.first_day;
        tinyxml2::XMLDocument doc;
        const server::answer a = s.get("/zorweather?requestcity=5368361");
        ASSERT_EQ(doc.Parse(a.body.c_str()), tinyxml2::XML_SUCCESS) << a.body;
        const auto* details = doc.FirstChildElement("WeatherDetails");
        const auto* city = details ? details->FirstChildElement("City") : nullptr;
        ASSERT_TRUE(city);
        const auto* first = city->FirstChildElement("Day");
        ASSERT_TRUE(first && first->FirstChildElement("date"));
        EXPECT_EQ(first->FirstChildElement("date")->GetText(),
                  server::date_text(std::max(today, c.first_day)));
        int days = 0;
        for (auto* d = first; d; d = d->NextSiblingElement("Day"))
            ++days;
        EXPECT_EQ(days, c.days) << c.first_day - today;
    }
    // Nothing left from today on: no forecast rather than an old one under today's name.
    service->first_day = today - 6;
    const server::answer a = s.get("/zorweather?requestcity=5368361");
    EXPECT_EQ(a.status, 503);
    EXPECT_NE(a.body.find("past"), std::string::npos) << a.body;
}

TEST(map_projection, unproject_inverts_project_and_north_is_up) {
    server::map_frame f{49.32, 15.23, 5786.7, 1.25, 800};
    for (auto place :
         {std::make_pair(48.85, 2.35), std::make_pair(59.33, 18.07), std::make_pair(41.9, 12.5)}) {
        server::map_offset o = server::project(f, place.first, place.second);
        double lat, lon;
        ASSERT_TRUE(server::unproject(f, o.x, o.y, lat, lon));
        EXPECT_NEAR(lat, place.first, 0.1);
        EXPECT_NEAR(lon, place.second, 0.1);
    }
    server::map_offset north = server::project(f, 60.0, 15.23);
    EXPECT_EQ(north.x, 0);
    EXPECT_GT(north.y, 0);
}

TEST(earth, a_magnified_coast_is_one_pixel_wide_where_the_plain_sample_blurs_across_the_texel) {
    // Four columns of sea, then four of land: texels 45 degrees wide, the coast half way, at longitude 0.
    server::raster picture(8, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            std::uint8_t* p = picture.at(x, y);
            p[0] = x < 4 ? 0 : 70, p[1] = x < 4 ? 0 : 90, p[2] = x < 4 ? 90 : 20;
        }
    temp_folder dir;
    dir.write("earth.jpg", server::encode_jpeg(picture, 100));
    const server::earth world(dir.file("earth.jpg"));
    ASSERT_EQ(world.width(), 8);
    // A hundred pixels a texel, a pixel every 0.45 degrees from one texel's middle to the next one's.
    const double texels_per_pixel = 0.01;
    int blurred = 0, coast = 0;
    std::uint8_t sea[3], land[3], rgb[3];
    world.sample(0, -22.5, sea);
    world.sample(0, 22.5, land);
    auto pure = [&](const std::uint8_t* c) {
        auto near = [&](const std::uint8_t* e) {
            return std::abs(c[0] - e[0]) + std::abs(c[1] - e[1]) + std::abs(c[2] - e[2]) <= 12;
        };
        return near(sea) || near(land);
    };
    for (int i = 0; i <= 100; ++i) {
        const double lon = -22.5 + i * 0.45;
        world.sample(0, lon, rgb);
        blurred += !pure(rgb);
        world.sample_coast(0, lon, texels_per_pixel, rgb);
        coast += !pure(rgb);
        if (lon < -0.5 || lon > 0.5) {
            EXPECT_TRUE(pure(rgb)) << lon;
        }
    }
    EXPECT_GT(blurred, 80);
    EXPECT_LE(coast, 2);
}

// The maps' graticule is an even, unbroken line one pixel wide across a plain earth, whatever the map's
// aspect and latitude: rows then columns, every line crossing adds about one pixel's worth of light.
TEST(map_picture, the_graticule_lines_are_unbroken_and_one_pixel_wide) {
    const server::earth plain("/nonexistent/earth.jpg");
    const server::picture_renderer renderer(plain);
    const server::map_frame frame{50.0, 13.0, 1400, 1.25, 800};
    const server::raster map = renderer.map(frame);
    const int w = map.width, h = frame.picture_height();
    std::uint8_t ground[3];
    plain.sample(0, 0, ground);
    const auto light = [&](int x, int y) {
        const std::uint8_t* p = map.at(x, y);
        return (p[0] - ground[0]) + (p[1] - ground[1]) + (p[2] - ground[2]);
    };
    // One full pixel of line, and the sum of light a crossing of it adds.
    const double line = ((255 - ground[0]) + (255 - ground[1]) + (255 - ground[2])) / 4.0;
    const auto crossing = [&](int from_x, int from_y, int dx, int dy) {
        int sum = 0;
        for (int i = -3; i <= 3; ++i) {
            const int x = from_x + i * dx, y = from_y + i * dy;
            if (x >= 0 && x < w && y >= 0 && y < h)
                sum += light(x, y);
        }
        return sum;
    };
    // Where the lines cross each other, both add up.
    const auto near_meridian = [&](int x) {
        return std::abs(w / 2 + server::project(frame, 50.0, 10.0).x - x) < 5 ||
               std::abs(w / 2 + server::project(frame, 50.0, 20.0).x - x) < 5;
    };
    for (int x = 0; x < w; x += 7) {
        if (!near_meridian(x)) {
            // The frame's centre latitude runs between the middle two rows.
            EXPECT_NEAR(crossing(x, h / 2, 0, 1), line, line * 0.35) << "column " << x;
        }
    }
    int meridians = 0;
    for (int y = 40; y < h - 40; y += 7) {
        if (std::abs(y - h / 2) < 5)
            continue;
        for (const double lon : {10.0, 20.0}) {
            const double lat = 50.0 + (h / 2.0 - (y + 0.5)) * 1.25 * 1400 / 800 / 111.19;
            const server::map_offset at = server::project(frame, lat, lon);
            const int x = static_cast<int>(w / 2.0 + at.x);
            if (x < 4 || x >= w - 4)
                continue;
            ++meridians;
            EXPECT_NEAR(crossing(x, y, 1, 0), line, line * 0.35) << lon << " row " << y;
        }
    }
    EXPECT_GT(meridians, 100);
    // Away from the lines the earth is untouched.
    EXPECT_EQ(light(w / 2 + 5, h / 2 + 60), 0);
}

// Pictures at their asked sizes are decoded by the panel in the integration suite.
TEST(requests, odd_targets_and_picture_sizes_are_refused_and_never_leave_the_content) {
    const std::string list = demo().get("/news/world?width=120&height=90").body;
    const std::size_t at = list.find("/pictures/");
    ASSERT_NE(at, std::string::npos);
    const std::string picture = list.substr(at, list.find(".jpg", at) + 4 - at);
    for (const char* size : {"?width=0&height=10", "?width=99999&height=10", "?width=abc&height=10"})
        EXPECT_EQ(demo().get(picture + size).status, 400) << size;
    EXPECT_EQ(demo().get(picture + "?width=200&height=150").status, 200); // the path itself is good
    EXPECT_EQ(demo().get("/pictures/news/world/nothing.jpg").status, 404);
    EXPECT_EQ(demo().get("/../../etc/passwd").status, 400);
    EXPECT_EQ(demo().get("/news/%2e%2e/%2e%2e/etc/passwd").status, 400);
    EXPECT_EQ(demo().get("/mapdata/../../x").status, 400);
    EXPECT_EQ(demo().get("/news/world?itemid=nothing").status, 404);
    EXPECT_EQ(demo().get("/news/world?itemid=" + std::string(10000, 'x')).status, 400);
    EXPECT_EQ(demo().get("/zorweather?searchcity=" + std::string(3000, '%')).status, 200);
    EXPECT_EQ(demo().get("/banners/9.jpg").status, 404);
    EXPECT_EQ(demo().get("/").status, 404);
    EXPECT_EQ(demo().get("/video").status, 404); // no clip was made for this server
    EXPECT_EQ(demo().get("").status, 400);
}

} // namespace
