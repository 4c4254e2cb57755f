#pragma once

#include <cstdint>
#include <functional>

namespace cl {
namespace app {

// Millisecond bookkeeping of the frame loop, on the 32-bit tick count.
class frame_clock {
public:
    using tick_source = std::function<std::uint32_t()>;

    static constexpr std::uint32_t step_ms = 25;

    frame_clock();
    explicit frame_clock(tick_source now);

    void reset();
    void begin_frame();
    void end_frame();
    // The logic lags real time. Compared as a difference, so the tick count may wrap.
    bool behind() const;
    void advance();
    // The rest of the 25 ms frame, or 1 when the frame took that long or longer.
    std::uint32_t sleep_time() const;
    void pause();
    // Shifts the logic by the paused time, so that it is not made up afterwards.
    void resume();

    std::uint32_t game_time = 0;
    std::uint32_t frame_start = 0;
    std::uint32_t frame_end = 0;
    std::uint32_t paused_at = 0;

private:
    tick_source now;
};

} // namespace app
} // namespace cl
