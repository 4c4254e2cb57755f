#include "platform/host_switches.h"

#include <atomic>

namespace platform {

namespace {
std::atomic<bool> fps{false};
}

void set_show_fps(bool on) {
    fps = on;
}
bool show_fps() {
    return fps;
}

} // namespace platform
