#include "country_names.h"
#include "geonames_cities.h"
#include "open_meteo.h"
#include "sources_file.h"
#include "support/fixture_files.h"
#include "weather_codes.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

TEST(open_meteo, daily_forecast_becomes_the_panels_days) {
    std::vector<std::vector<server::forecast_day>> places;
    std::string error;
    ASSERT_TRUE(server::read_open_meteo_forecast(read_fixture("forecast.json"), places, error)) << error;
    ASSERT_EQ(places.size(), 1u);
    const auto& days = places[0];
    ASSERT_EQ(days.size(), 6u);
    struct {
        const char* date;
        const char* icon;
        const char* sky;
        const char* precipitation;
        int t_min, t_max;
        double wind;
        int uv;
    } expected[] = {
        {"2026-12-06", "1", "Sunny", "No precipitation", 2, 10, 12.3, 1},
        {"2026-12-07", "6", "Overcast", "No precipitation", 4, 8, 18.0, 1},
        {"2026-12-08", "13", "Cloudy", "Light rain, 80%", 4, 8, 25.9, 1},
        {"2026-12-09", "15", "Cloudy", "Thunderstorms, 95%", 6, 11, 41.4, 0},
        {"2026-12-10", "19", "Overcast", "Light snow, 60%", -4, 1, 9.0, 1},
        {"2026-12-11", "7", "Fog", "No precipitation", -1, 4, 5.5, -1}, // null: the panel's "N/A"
    };
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(days[i].date, expected[i].date);
        EXPECT_EQ(days[i].icon, expected[i].icon) << i;
        EXPECT_EQ(days[i].sky, expected[i].sky) << i;
        EXPECT_EQ(days[i].precipitation, expected[i].precipitation) << i;
        EXPECT_EQ(days[i].t_min, expected[i].t_min) << i;
        EXPECT_EQ(days[i].t_max, expected[i].t_max) << i;
        EXPECT_DOUBLE_EQ(days[i].wind_speed, expected[i].wind) << i;
        EXPECT_EQ(days[i].uv_index, expected[i].uv) << i;
    }
}

TEST(open_meteo, several_places_air_quality_and_bad_answers) {
    const std::string one = read_fixture("forecast.json");
    std::vector<std::vector<server::forecast_day>> places;
    std::string error;
    ASSERT_TRUE(server::read_open_meteo_forecast("[" + one + "," + one + "]", places, error)) << error;
    EXPECT_EQ(places.size(), 2u);

    std::vector<std::map<std::string, int>> air;
    ASSERT_TRUE(server::read_open_meteo_air_quality(read_fixture("air_quality.json"), air, error)) << error;
    ASSERT_EQ(air.size(), 1u);
    EXPECT_EQ(air[0], (std::map<std::string, int>{{"2026-12-06", 35}, {"2026-12-07", 72}}));

    const char* bad[] = {
        "",
        "not json",
        "[]",
        "[1,2]",
        "{\"error\":true,\"reason\":\"Latitude must be in range\"}",
        "{\"daily\":{\"time\":\"2026-12-06\"}}",
        "{\"hourly\":{}}",
        "{\"daily\":[]}",
    };
    for (const char* b : bad) {
        error.clear();
        EXPECT_FALSE(server::read_open_meteo_forecast(b, places, error)) << b;
        EXPECT_FALSE(error.empty()) << b;
    }
    EXPECT_FALSE(server::read_open_meteo_forecast(std::string(100000, '['), places, error));
    // Days whose required values are missing or of the wrong type are left out, not made up.
    ASSERT_TRUE(server::read_open_meteo_forecast(
        "{\"daily\":{\"time\":[\"2026-12-06\",\"2026-12-07\",7],\"weather_code\":[null,2,2],"
        "\"temperature_2m_max\":[1,\"warm\",3],\"temperature_2m_min\":[0,1,2]}}",
        places, error));
    EXPECT_TRUE(places[0].empty());
}

TEST(open_meteo, every_weather_code_has_an_icon_the_panel_draws) {
    const std::set<std::string> drawn = {"0",  "1",  "2",  "3",  "5",  "6",   "7",  "9",
                                         "13", "14", "15", "19", "21", "22",  "28", "c6",
                                         "c7", "c9", "s6", "s7", "s9", "s13", "s14"};
    for (int code = -1; code <= 100; ++code) {
        const server::sky_words w = server::words_for_weather_code(code);
        EXPECT_TRUE(drawn.count(w.icon)) << code;
        EXPECT_FALSE(w.sky.empty());
        EXPECT_FALSE(w.precipitation.empty());
    }
    // The panel's air words run from 13 to 36; cleaner air gets the kinder word.
    EXPECT_EQ(server::air_quality_code(-1), 0);
    int previous = 0;
    for (int aqi : {0, 25, 45, 65, 85}) {
        const int code = server::air_quality_code(aqi);
        EXPECT_GE(code, 13);
        EXPECT_LE(code, 36);
        EXPECT_NE(code, previous);
        previous = code;
    }
    EXPECT_EQ(server::air_quality_code(300), server::air_quality_code(85));
}

TEST(country_names, name_the_cities_countries_from_the_iso_codes_table) {
    std::map<std::string, std::string> names;
    std::string error;
    ASSERT_TRUE(server::parse_country_names(R"({"3166-1": [
        {"alpha_2": "FR", "name": "France", "official_name": "French Republic"},
        {"alpha_2": "KR", "common_name": "South Korea", "name": "Korea, Republic of"},
        {"alpha_2": "GB"}, {"name": "Nowhere"}, {"alpha_2": 7, "name": "Seven"}, 7]})",
                                            names, error))
        << error;
    EXPECT_EQ(names, (std::map<std::string, std::string>{{"FR", "France"}, {"KR", "South Korea"}}));

    std::vector<server::city_record> cities;
    ASSERT_TRUE(server::read_geonames_cities(fixture_path("cities.txt"), cities, error)) << error;
    server::name_countries(cities, names);
    EXPECT_EQ(cities[0].country, "France");
    EXPECT_EQ(cities[1].country, "GB"); // not in the table: the code stays

    for (const char* bad :
         {"", "[]", "{\"3166-1\": {}}", "{\"3166-1\": []}", "{\"3166-1\": [{\"name\": \"X\"}]}"}) {
        EXPECT_FALSE(server::parse_country_names(bad, names, error)) << bad;
        EXPECT_FALSE(error.empty());
    }
    EXPECT_EQ(names.size(), 2u); // a failed read leaves what was there
    EXPECT_FALSE(server::read_country_names(fixture_path("cities.txt"), names, error));
    EXPECT_FALSE(server::read_country_names(fixture_path("none.json"), names, error));

    // The table the server reads by default, as Debian's iso-codes ships it.
    ASSERT_TRUE(server::read_country_names(server::sources_settings().countries_file, names, error)) << error;
    EXPECT_GT(names.size(), 240u);
    EXPECT_EQ(names["GB"], "United Kingdom");
    EXPECT_EQ(names["KR"], "South Korea");
    EXPECT_EQ(names["BR"], "Brazil");
}

TEST(geonames_cities, reads_the_published_table_and_skips_bad_lines) {
    std::vector<server::city_record> cities;
    std::string error;
    ASSERT_TRUE(server::read_geonames_cities(fixture_path("cities.txt"), cities, error)) << error;
    ASSERT_EQ(cities.size(), 7u);
    EXPECT_EQ(cities[0].id, "2988507");
    EXPECT_EQ(cities[0].name, "Paris");
    EXPECT_EQ(cities[0].country, "FR");
    EXPECT_DOUBLE_EQ(cities[0].lat, 48.85341);
    EXPECT_DOUBLE_EQ(cities[0].lon, 2.3488);
    EXPECT_EQ(cities[0].population, 2138551);
    EXPECT_EQ(cities[5].name, "S\u00e3o Paulo");
    EXPECT_FALSE(server::read_geonames_cities(fixture_path("rss2.xml"), cities, error));
    EXPECT_FALSE(server::read_geonames_cities(fixture_path("none.txt"), cities, error));
    EXPECT_TRUE(server::parse_geonames_cities("1\tX\tX\t\t95\t0\tP\tPPL\tXX\t\t\t\t\t\t1\n").empty());
}

} // namespace
