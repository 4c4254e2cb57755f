#include "platform/panel_activity.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

TEST(panel_activity, gaps_end_in_frames_skip_pauses_and_keep_a_new_page_s_first_frame_apart) {
    note_frames_stopped();
    take_frame_stats();
    note_shown_page("activity-test-home");
    note_frame(1000); // after a stop: no gap
    note_frame(1025);
    note_frame(1125); // 100 ms
    note_shown_page("activity-test-globe");
    note_frame(1400); // 275 ms, into the new page
    note_frame(1430);
    note_frames_stopped(); // paused for a long time
    note_frame(90000);
    note_frame(90040);

    const std::uint64_t total = frames_drawn();
    frame_stats s = take_frame_stats();
    EXPECT_EQ(s.frames, 7u);
    EXPECT_EQ(s.longest_gap_ms, 100u);
    EXPECT_EQ(s.longest_gap_page, "activity-test-home");
    EXPECT_EQ(s.longest_entry_gap_ms, 275u);
    EXPECT_EQ(s.longest_entry_gap_page, "activity-test-globe");
    EXPECT_EQ(shown_page(), "activity-test-globe");

    // Taking starts the statistics again; the running count of frames goes on.
    note_frame(90050);
    s = take_frame_stats();
    EXPECT_EQ(s.frames, 1u);
    EXPECT_EQ(s.longest_gap_ms, 10u);
    EXPECT_EQ(s.longest_entry_gap_ms, 0u);
    EXPECT_EQ(frames_drawn(), total + 1);
}

TEST(panel_activity, a_tick_wrap_is_a_short_gap) {
    note_frames_stopped();
    take_frame_stats();
    note_frame(0xFFFFFFF0u);
    note_frame(0x10u);
    EXPECT_EQ(take_frame_stats().longest_gap_ms, 0x20u);
}

} // namespace
