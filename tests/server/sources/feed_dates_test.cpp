#include "feed_dates.h"

#include <gtest/gtest.h>

namespace {

TEST(feed_dates, both_forms_with_their_zones) {
    // 2002-09-07T09:42:31Z is 1031391751.
    struct {
        const char* text;
        std::int64_t seconds;
    } good[] = {
        {"Sat, 07 Sep 2002 09:42:31 GMT", 1031391751},
        {"Sat, 07 Sep 2002 11:42:31 +0200", 1031391751},
        {"7 Sep 2002 04:42:31 -0500", 1031391751},
        {"Sat, 07 Sep 2002 05:42:31 EDT", 1031391751},
        {"Sat, 07 Sep 02 09:42:31 UT", 1031391751},
        {"Sat, 07 Sep 2002 09:42 Z", 1031391720},
        {"  Saturday, 7 September 2002 09:42:31 gmt", 1031391751},
        {"2002-09-07T09:42:31Z", 1031391751},
        {"2002-09-07t11:42:31+02:00", 1031391751},
        {"2002-09-07T04:12:31.123456-05:30", 1031391751},
        {"2002-09-07 09:42:31Z", 1031391751},
        {"2002-09-07", 1031356800},
        {"1999-12-31T23:59:60Z", 946684800}, // a leap second lands on the next one
    };
    for (const auto& g : good) {
        std::int64_t s = 0;
        EXPECT_TRUE(server::parse_feed_date(g.text, s)) << g.text;
        EXPECT_EQ(s, g.seconds) << g.text;
    }
    for (const char* bad : {"", "yesterday", "Sat, 32 Sep 2002 09:42:31 GMT", "Sat, 07 Foo 2002 09:42:31 GMT",
                            "2002-13-07T09:42:31Z", "2002-09-07T09:42:31+25:00", "2002-02-30T00:00:00Z",
                            "07 Sep 202 09:42 GMT", "2002-09-07T09:42:31Z trailing", "Sat, 07 Sep 2002"}) {
        std::int64_t s = 0;
        EXPECT_FALSE(server::parse_feed_date(bad, s)) << bad;
    }
}

} // namespace
