#pragma once

#include <cstdint>
#include <string>

namespace news {

// "YYYYMMDDTHHMMSS" as seconds since 1970-01-01 plus the time-zone bias; -1 when it is not a valid time
// between 1970 and 2070.
std::int64_t parse_timestamp(const std::string& text);

} // namespace news
