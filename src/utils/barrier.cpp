#include "utils/barrier.h"

#include <chrono>

namespace utils {

barrier::barrier(bool initially_set, bool auto_reset) : signalled(initially_set), auto_reset(auto_reset) {}

unsigned long barrier::wait(unsigned long timeout_ms) {
    std::unique_lock<std::mutex> lock(m);
    auto is_set = [this] { return signalled; };
    if (timeout_ms == infinite)
        cv.wait(lock, is_set);
    else if (!cv.wait_for(lock, std::chrono::milliseconds(timeout_ms), is_set))
        return wait_timeout;
    if (auto_reset)
        signalled = false;
    return wait_object_0;
}

void barrier::set() {
    {
        std::lock_guard<std::mutex> lock(m);
        signalled = true;
    }
    if (auto_reset)
        cv.notify_one();
    else
        cv.notify_all();
}

void barrier::reset() {
    std::lock_guard<std::mutex> lock(m);
    signalled = false;
}

} // namespace utils
