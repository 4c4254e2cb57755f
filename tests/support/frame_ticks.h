#pragma once

#include "platform/clock.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

// Ticks a control until the condition holds or the frames run out. Frame times run 25 ms apart and never fall
// behind the tick count the loading thread stamps its objects with; that thread gets real time every few
// frames.
template <class Control>
bool tick_until(Control& c, unsigned long& now, const std::function<bool()>& condition, int limit,
                int frames_per_pause = 4) {
    for (int i = 0; i < limit; ++i) {
        c.update(now);
        now = std::max<unsigned long>(now + 25, platform::tick_count());
        if (condition())
            return true;
        if (i % frames_per_pause == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}
