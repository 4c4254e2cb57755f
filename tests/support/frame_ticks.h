#pragma once

#include "platform/clock.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

// A frame limit that means "until the condition holds": for conditions that wait on another thread, which a
// busy machine may hold up for longer than any fixed number of frames lasts.
constexpr int until_done = -1;

// Ticks a control until the condition holds or the frames run out. Frame times run 25 ms apart and never fall
// behind the tick count the loading thread stamps its objects with; that thread gets real time every few
// frames. With until_done the first 3000 frames run the same way; past them the frames slow to real time and
// only a condition still false after 20 s fails (a hang, not a slow machine).
template <class Control>
bool tick_until(Control& c, unsigned long& now, const std::function<bool()>& condition, int limit,
                int frames_per_pause = 4) {
    const bool patient = limit == until_done;
    const int frames = patient ? 3000 : limit;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (int i = 0;; ++i) {
        const bool overtime = i >= frames;
        if (overtime && (!patient || std::chrono::steady_clock::now() >= deadline))
            return false;
        c.update(now);
        now = std::max<unsigned long>(now + 25, platform::tick_count());
        if (condition())
            return true;
        if (overtime)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        else if (i % frames_per_pause == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}
