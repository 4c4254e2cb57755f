#include "loop/frame_clock.h"

#include <gtest/gtest.h>

namespace {

struct fake_time {
    std::uint32_t now = 1000;
    cl::app::frame_clock clock{[this] { return now; }};

    // The sleep after a frame that took ms.
    unsigned frame(std::uint32_t ms) {
        clock.begin_frame();
        now += ms;
        clock.end_frame();
        return clock.sleep_time();
    }
    // The logic steps a frame beginning now runs to catch up.
    int steps() {
        clock.begin_frame();
        int n = 0;
        while (clock.behind() && n < 1000) {
            clock.advance();
            ++n;
        }
        return n;
    }
};

TEST(frame_clock, sleeps_for_the_rest_of_a_short_frame_and_1_ms_after_a_long_one) {
    fake_time t;
    EXPECT_EQ(t.frame(10), 15u);
    EXPECT_EQ(t.frame(40), 1u);
    EXPECT_EQ(t.frame(25), 1u);
}

TEST(frame_clock, catches_up_in_25_ms_steps_but_not_for_paused_time) {
    fake_time t;
    t.clock.reset();
    t.now += 100;
    EXPECT_EQ(t.steps(), 4);
    EXPECT_EQ(t.clock.game_time, 1100u);

    fake_time p;
    p.clock.reset();
    p.now += 30;
    p.clock.pause();
    p.now += 5000;
    p.clock.resume();
    EXPECT_EQ(p.steps(), 2); // only the 30 ms before the pause
}

TEST(frame_clock, keeps_working_across_the_tick_count_wrap) {
    fake_time t;
    t.now = 0xFFFFFFF0u;
    t.clock.reset();
    t.now += 60; // wraps to 44
    EXPECT_EQ(t.steps(), 3);
    EXPECT_EQ(t.clock.game_time, 0xFFFFFFF0u + 75u);

    // A frame spanning the wrap still measures its own length.
    t.now = 0xFFFFFFFAu;
    EXPECT_EQ(t.frame(12), 13u);

    // A pause spanning the wrap shifts the logic by exactly the paused time.
    t.now = 0xFFFFFF00u;
    t.clock.game_time = 0xFFFFFEF0u;
    t.clock.pause();
    t.now += 0x200;
    t.clock.resume();
    EXPECT_EQ(t.clock.game_time, 0xFFFFFEF0u + 0x200u);
}

} // namespace
