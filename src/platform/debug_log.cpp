#include "platform/debug_log.h"

#include "platform/clock.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace platform {

namespace {
std::mutex log_mutex;
std::FILE* log_file = nullptr;
std::function<void(const std::string&)> capture_fn;
std::atomic<bool> enabled{false};

void update_enabled() {
    enabled = log_file != nullptr || static_cast<bool>(capture_fn);
}
} // namespace

bool set_debug_log_file(const std::string& path) {
    std::lock_guard<std::mutex> lock(log_mutex);
    if (log_file) {
        std::fclose(log_file);
        log_file = nullptr;
    }
    if (!path.empty())
        log_file = std::fopen(path.c_str(), "a");
    update_enabled();
    return path.empty() || log_file != nullptr;
}

void set_debug_log_capture(std::function<void(const std::string&)> capture) {
    std::lock_guard<std::mutex> lock(log_mutex);
    capture_fn = std::move(capture);
    update_enabled();
}

bool debug_log_enabled() {
    return enabled.load(std::memory_order_relaxed);
}

void debug_log_write(const std::string& line) {
    std::lock_guard<std::mutex> lock(log_mutex);
    if (capture_fn)
        capture_fn(line);
    if (!log_file)
        return;
    std::fprintf(log_file, "%10u %s\n", tick_count(), line.c_str());
    std::fflush(log_file);
}

} // namespace platform
