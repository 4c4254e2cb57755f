#pragma once

#include <cstdint>
#include <string>

namespace zor {

// What a page says over content that is a held copy rather than the network's answer: "Updated 14:05" for a
// copy from today, "Updated yesterday", else "Updated 3 Dec"; empty for the network's own (a copy time of
// 0). Times are seconds since the epoch, shown in local time.
std::wstring updated_mark(std::int64_t copy_time, std::int64_t now);
// The same against the clock.
std::wstring updated_mark(std::int64_t copy_time);

} // namespace zor
