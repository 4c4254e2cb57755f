#include "loop/frame_clock.h"

#include "platform/clock.h"

#include <cstdint>

namespace cl {
namespace app {

frame_clock::frame_clock() : now(platform::tick_count) {}
frame_clock::frame_clock(tick_source now) : now(std::move(now)) {}

void frame_clock::reset() {
    game_time = now();
}
void frame_clock::begin_frame() {
    frame_start = now();
}
void frame_clock::end_frame() {
    frame_end = now();
}

bool frame_clock::behind() const {
    return static_cast<std::int32_t>(frame_start - game_time) > 0;
}

void frame_clock::advance() {
    game_time += step_ms;
}

std::uint32_t frame_clock::sleep_time() const {
    std::uint32_t took = frame_end - frame_start;
    return took < step_ms ? step_ms - took : 1;
}

void frame_clock::pause() {
    paused_at = now();
}
void frame_clock::resume() {
    game_time = game_time - paused_at + now();
}

} // namespace app
} // namespace cl
