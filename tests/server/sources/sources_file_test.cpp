#include "sources_file.h"

#include <gtest/gtest.h>

namespace {

TEST(sources_file, reads_categories_services_and_switches) {
    server::sources_settings s;
    std::string error;
    ASSERT_TRUE(server::parse_sources("# comment\n"
                                      "feed /news/world https://a.test/world.xml http://b.test/rss\n"
                                      "refresh 5\r\n"
                                      "feed /news/sport/football https://a.test/football.xml\n"
                                      "\n"
                                      "forecast https://api.test/v1/forecast\n"
                                      "air-quality https://air.test/v1/air-quality\n"
                                      "forecast-refresh 30\n"
                                      "items 12\n"
                                      "cities cities15000.txt\n"
                                      "countries /usr/local/share/iso_3166-1.json\n"
                                      "allow-private-addresses\n",
                                      "/etc/zor", s, error))
        << error;
    ASSERT_EQ(s.categories.size(), 2u);
    ASSERT_EQ(s.categories["/news/world"].size(), 2u);
    EXPECT_EQ(s.categories["/news/world"][1].url, "http://b.test/rss");
    EXPECT_EQ(s.categories["/news/world"][0].refresh_minutes, 15); // the default before any refresh line
    EXPECT_EQ(s.categories["/news/sport/football"][0].refresh_minutes, 5);
    EXPECT_EQ(s.forecast_url, "https://api.test/v1/forecast");
    EXPECT_EQ(s.air_quality_url, "https://air.test/v1/air-quality");
    EXPECT_EQ(s.forecast_minutes, 30);
    EXPECT_EQ(s.items_per_category, 12);
    EXPECT_EQ(s.cities_file, "/etc/zor/cities15000.txt");
    EXPECT_EQ(s.countries_file, "/usr/local/share/iso_3166-1.json");
    EXPECT_TRUE(s.allow_private_addresses);
}

TEST(sources_file, refuses_mistakes_with_their_line) {
    struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"", "line 0: no feed lines"},
        {"feed /news/world\n", "line 1: feed takes"},
        {"feed news/world https://a.test/\n", "line 1: feed takes"},
        {"feed /news/world ftp://a.test/rss\n", "line 1: a feed address must be http or https"},
        {"feed /news/world file:///etc/passwd\n", "line 1: a feed address must be http or https"},
        {"feed /n https://a.test/\nrefresh 0\n", "line 2: refresh takes"},
        {"feed /n https://a.test/\nrefresh soon\n", "line 2: refresh takes"},
        {"feed /n https://a.test/\nforecast gopher://x\n", "line 2: forecast takes"},
        {"feed /n https://a.test/\nitems 9999\n", "line 2: items takes"},
        {"feed /n https://a.test/\nweather yes\n", "line 2: unknown setting weather"},
        {"feed /n https://a.test/\nallow-private-addresses please\n", "line 2: allow-private-addresses"},
        {"feed /n https://a.test/\ncountries\n", "line 2: countries takes one file"},
    };
    for (const auto& c : cases) {
        server::sources_settings s;
        std::string error;
        EXPECT_FALSE(server::parse_sources(c.text, "", s, error)) << c.text;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
    }
}

} // namespace
