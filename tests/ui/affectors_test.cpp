#include "ui/affectors.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using cl::aff::cycle_affector;
using cl::aff::linear_affector;
using cl::aff::move_affector;
using cl::aff::wave_affector;

TEST(linear_affector, moves_at_its_speed_and_snaps_when_close) {
    linear_affector a(0.1);
    a.set({0.0, 10.0});
    EXPECT_FALSE(a.update(1000)); // the first tick anchors the clock
    EXPECT_TRUE(a.update(1025));
    EXPECT_DOUBLE_EQ(a.value(0), 2.5);
    EXPECT_DOUBLE_EQ(a.value(1), 10.0);
    a.update(2000);
    EXPECT_DOUBLE_EQ(a.value(0), 10.0);
    EXPECT_FALSE(a.update(2025));

    linear_affector close(0.001);
    close.set({9.6, 10.0}); // 0.4 away
    close.update(5000);
    EXPECT_DOUBLE_EQ(close.value(0), 10.0);
}

TEST(linear_affector, set_forms) {
    linear_affector a(0.1);
    a.set({4.0, 8.0});
    a.update(100);
    a.update(120); // current 6
    a.set({20.0});
    EXPECT_DOUBLE_EQ(a.value(0), 6.0); // one value keeps the current one
    EXPECT_DOUBLE_EQ(a.value(1), 20.0);
    a.set({-5.0, 0.0, 0.0});
    EXPECT_DOUBLE_EQ(a.value(1), 15.0); // three values move the target by +d
    a.set({1.0, 2.0, 3.0, 4.0});
    EXPECT_DOUBLE_EQ(a.value(1), 15.0); // ignored
}

TEST(linear_affector, elapsed_time_survives_the_tick_wrap) {
    linear_affector a(1.0);
    a.set({0.0, 100.0});
    a.update(0xFFFFFFF0u);
    a.update(0x00000010u); // 32 ms later
    EXPECT_DOUBLE_EQ(a.value(0), 32.0);
}

TEST(cycle_affector, takes_the_short_way_round_through_zero) {
    cycle_affector a(1.0, 360.0);
    a.set({350.0, 10.0});
    a.update(1000);
    a.update(1005);
    EXPECT_DOUBLE_EQ(a.value(0), 355.0);
    a.update(1012);
    EXPECT_DOUBLE_EQ(a.value(0), 2.0); // wrapped past 360 into [0, 360)
    a.update(1100);
    EXPECT_DOUBLE_EQ(a.value(0), 10.0);

    cycle_affector back(1.0, 360.0);
    back.set({10.0, 350.0});
    back.update(1000);
    back.update(1015);
    EXPECT_DOUBLE_EQ(back.value(0), 355.0); // down through 0, not up through 180
}

TEST(move_affector, glides_towards_the_target_and_three_values_move_it_back) {
    move_affector m(8.0, 0.15);
    m.set({0.0, 100.0});
    m.update(1000); // anchors the clock
    m.update(1025);
    // The position is at the target at once; the output, a low-pass filter, closes 15% of the way per tick.
    EXPECT_NEAR(m.value(0), 15.0, 1e-9);
    m.update(1050);
    EXPECT_NEAR(m.value(0), 15.0 + 0.15 * 85.0, 1e-9);
    for (unsigned t = 1050; t < 3000; t += 25)
        m.update(t);
    EXPECT_DOUBLE_EQ(m.value(0), 100.0);
    EXPECT_FALSE(m.update(3000));
    m.set({30.0, 0.0, 0.0});
    EXPECT_DOUBLE_EQ(m.value(1), 70.0);
}

TEST(wave_affector, starts_at_its_phase_and_swings_with_its_period) {
    wave_affector w(1.0, 5.0, 0.0);
    w.update(4000);
    EXPECT_EQ(w.value(0), 0.0);
    w.update(4250);
    EXPECT_NEAR(w.value(0), 5.0, 1e-6);
    w.update(4750);
    EXPECT_NEAR(w.value(1), -5.0, 1e-6); // which value is asked does not matter
    w.set({1.0});
    w.update(5000);
    EXPECT_NEAR(w.value(0), 0.0, 1e-6);
}

} // namespace
