#include "utils/log.h"

#include "platform/debug_log.h"
#include "platform/text.h"

namespace utils {

void log(const std::string& line) {
    if (platform::debug_log_enabled())
        platform::debug_log_write(line);
}

void log(const std::wstring& line) {
    if (platform::debug_log_enabled())
        platform::debug_log_write(platform::to_utf8(line));
}

} // namespace utils
