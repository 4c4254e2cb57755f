#include "platform/clock.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <initializer_list>
#include <thread>

namespace platform {

std::uint32_t tick_count() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void sleep_ms(std::uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace platform

namespace platform {

int time_zone_bias_minutes() {
    // Standard time has the smaller offset of January and July, in either hemisphere.
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    long offset = t.tm_gmtoff;
    for (int month : {0, 6}) {
        std::tm probe{};
        probe.tm_year = t.tm_year;
        probe.tm_mon = month;
        probe.tm_mday = 15;
        probe.tm_hour = 12;
        probe.tm_isdst = -1;
        std::time_t when = std::mktime(&probe);
        std::tm local{};
        localtime_r(&when, &local);
        offset = std::min(offset, local.tm_gmtoff);
    }
    return static_cast<int>(-offset / 60);
}

} // namespace platform
