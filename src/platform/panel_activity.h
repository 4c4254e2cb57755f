#pragma once

#include <cstdint>
#include <string>

// What the panel tells its host about its frames and its loads, so a host can wait until the panel has
// settled and can measure how evenly it draws. The loop thread only bumps counters and, once a frame, takes a
// lock that nothing holds for longer than a copy.
namespace platform {

// Loop thread, after each drawn frame, with the tick it ended at.
void note_frame(std::uint32_t now_ms);
// Loop thread, when it stops drawing (pause): the next frame starts a new gap instead of ending one.
void note_frames_stopped();
// Loop thread: what the panel shows now, for the frame statistics.
void note_shown_page(const std::string& page);

std::uint64_t frames_drawn();
std::string shown_page();

// Loads: a request of the loading queue counts from its queueing to the end of its transfer, and the
// start-up's decoding of large pictures while it lasts.
void note_load_queued();
void note_load_done();
int pending_loads();

struct frame_stats {
    std::uint64_t frames = 0;
    std::uint32_t longest_gap_ms = 0;
    std::string longest_gap_page;
    // Gaps that end in the first frame of a newly shown page, kept apart: opening a page may build it.
    std::uint32_t longest_entry_gap_ms = 0;
    std::string longest_entry_gap_page;
};

// The statistics since the last call; they start again from here.
frame_stats take_frame_stats();

} // namespace platform
