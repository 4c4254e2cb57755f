#pragma once

#include <string>

namespace utils {

// The two log sinks. They discard their input unless the host process has installed a log file
// through the platform layer.
void log(const std::string& line);
void log(const std::wstring& line);

} // namespace utils
