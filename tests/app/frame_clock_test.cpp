#include "app/frame_clock.h"

#include <gtest/gtest.h>

namespace {

struct fake_time {
    std::uint32_t now = 1000;
    cl::app::frame_clock clock{[this] { return now; }};
};

TEST(frame_clock, sleeps_for_the_rest_of_a_short_frame_and_1_ms_after_a_long_one) {
    fake_time t;
    t.clock.begin_frame();
    t.now += 10;
    t.clock.end_frame();
    EXPECT_EQ(t.clock.sleep_time(), 15u);

    t.clock.begin_frame();
    t.now += 40;
    t.clock.end_frame();
    EXPECT_EQ(t.clock.sleep_time(), 1u);

    t.clock.begin_frame();
    t.now += 25;
    t.clock.end_frame();
    EXPECT_EQ(t.clock.sleep_time(), 1u);
}

TEST(frame_clock, catches_up_in_25_ms_steps) {
    fake_time t;
    t.clock.reset();
    t.now += 100;
    t.clock.begin_frame();
    int steps = 0;
    while (t.clock.behind()) {
        t.clock.advance();
        ++steps;
    }
    EXPECT_EQ(steps, 4);
    EXPECT_EQ(t.clock.game_time, 1100u);
}

TEST(frame_clock, paused_time_is_not_made_up) {
    fake_time t;
    t.clock.reset();
    t.now += 30;
    t.clock.pause();
    t.now += 5000;
    t.clock.resume();
    t.clock.begin_frame();
    int steps = 0;
    while (t.clock.behind() && steps < 1000) {
        t.clock.advance();
        ++steps;
    }
    // Only the 30 ms before the pause are left to run.
    EXPECT_EQ(steps, 2);
}

TEST(frame_clock, keeps_working_across_the_tick_count_wrap) {
    fake_time t;
    t.now = 0xFFFFFFF0u;
    t.clock.reset();
    t.now += 60; // wraps to 44
    t.clock.begin_frame();
    int steps = 0;
    while (t.clock.behind() && steps < 1000) {
        t.clock.advance();
        ++steps;
    }
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(t.clock.game_time, 0xFFFFFFF0u + 75u);

    // A frame spanning the wrap still measures its own length.
    t.now = 0xFFFFFFFAu;
    t.clock.begin_frame();
    t.now += 12;
    t.clock.end_frame();
    EXPECT_EQ(t.clock.sleep_time(), 13u);

    // A pause spanning the wrap shifts the logic by exactly the paused time.
    t.now = 0xFFFFFF00u;
    t.clock.game_time = 0xFFFFFEF0u;
    t.clock.pause();
    t.now += 0x200;
    t.clock.resume();
    EXPECT_EQ(t.clock.game_time, 0xFFFFFEF0u + 0x200u);
}

} // namespace
