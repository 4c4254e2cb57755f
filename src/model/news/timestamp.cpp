#include "model/news/timestamp.h"

#include "platform/clock.h"

#include <cstdio>

namespace news {

namespace {
bool leap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}
int month_length(int y, int m) {
    static const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leap(y) ? 29 : lengths[m - 1];
}
} // namespace

std::int64_t parse_timestamp(const std::string& text) {
    int date = 0, time = 0;
    if (std::sscanf(text.c_str(), "%dT%d", &date, &time) < 2)
        return -1;
    const int year = date / 10000, month = (date % 10000) / 100, day = date % 100;
    const int hour = time / 10000, minute = (time % 10000) / 100, second = time % 100;
    if (second < 0 || second > 59 || minute < 0 || minute > 59 || hour < 0 || hour > 23 || year < 1970 ||
        year > 2070 || month < 1 || month > 12 || day < 0 || day > month_length(year, month))
        return -1;
    std::int64_t days = 0;
    for (int y = 1970; y < year; ++y)
        days += leap(y) ? 366 : 365;
    for (int m = 1; m < month; ++m)
        days += month_length(year, m);
    std::int64_t seconds =
        days * 86400 + (static_cast<std::int64_t>(day - 1) * 24 + hour) * 3600 + minute * 60 + second;
    return seconds + static_cast<std::int64_t>(platform::time_zone_bias_minutes()) * 60;
}

} // namespace news
