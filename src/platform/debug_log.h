#pragma once

#include <functional>
#include <string>

// The process's debug output: discarded unless the host opened a log file.
namespace platform {

// Opens (appends to) the file; an empty path closes it. Returns false when the file cannot be opened.
bool set_debug_log_file(const std::string& path);
// Hands every line to the function as well (null removes it); for tests that read the trace.
void set_debug_log_capture(std::function<void(const std::string&)> capture);
bool debug_log_enabled();
// One line, with a time stamp, written and flushed under a lock (any thread).
void debug_log_write(const std::string& line);

} // namespace platform
