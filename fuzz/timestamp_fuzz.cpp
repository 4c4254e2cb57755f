// The time stamp of a headlines document: any text in, -1 or the same instant the C library computes.
#include "model/news/timestamp.h"
#include "platform/clock.h"

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::int64_t stamp = news::parse_timestamp(text);
    if (stamp == -1)
        return 0;
    // Accepted: the fields were in range, so timegm (which also rolls day 0 back a day) must agree.
    int date = 0, time = 0;
    if (std::sscanf(text.c_str(), "%dT%d", &date, &time) != 2)
        __builtin_trap();
    std::tm t{};
    t.tm_year = date / 10000 - 1900;
    t.tm_mon = (date % 10000) / 100 - 1;
    t.tm_mday = date % 100;
    t.tm_hour = time / 10000;
    t.tm_min = (time % 10000) / 100;
    t.tm_sec = time % 100;
    const std::int64_t expected =
        static_cast<std::int64_t>(timegm(&t)) + std::int64_t{platform::time_zone_bias_minutes()} * 60;
    if (stamp != expected)
        __builtin_trap();
    return 0;
}
