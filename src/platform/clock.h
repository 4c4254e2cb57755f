#pragma once

#include <cstdint>

namespace platform {

// Milliseconds of a monotonic clock, truncated to 32 bits: it wraps after about 49.7 days.
std::uint32_t tick_count();
void sleep_ms(std::uint32_t ms);
// Minutes to add to local standard time to get UTC (daylight saving is left out).
int time_zone_bias_minutes();

} // namespace platform
