#include "platform/panel_activity.h"

#include <atomic>
#include <mutex>

namespace platform {

namespace {

struct activity {
    std::atomic<std::uint64_t> frames{0};
    std::atomic<int> loads{0};
    std::mutex m; // guards what follows
    frame_stats stats;
    std::string page;
    bool page_changed = false;
    bool have_last = false;
    std::uint32_t last_frame = 0;
};

activity& state() {
    static activity a;
    return a;
}

} // namespace

void note_frame(std::uint32_t now_ms) {
    activity& a = state();
    {
        std::lock_guard<std::mutex> lock(a.m);
        ++a.stats.frames;
        if (a.have_last) {
            const std::uint32_t gap = now_ms - a.last_frame;
            std::uint32_t& longest = a.page_changed ? a.stats.longest_entry_gap_ms : a.stats.longest_gap_ms;
            std::string& where = a.page_changed ? a.stats.longest_entry_gap_page : a.stats.longest_gap_page;
            if (gap > longest) {
                longest = gap;
                where = a.page;
            }
        }
        a.have_last = true;
        a.page_changed = false;
        a.last_frame = now_ms;
    }
    a.frames.fetch_add(1);
}

void note_frames_stopped() {
    activity& a = state();
    std::lock_guard<std::mutex> lock(a.m);
    a.have_last = false;
}

void note_shown_page(const std::string& page) {
    activity& a = state();
    std::lock_guard<std::mutex> lock(a.m);
    if (page != a.page) {
        a.page = page;
        a.page_changed = true;
    }
}

std::uint64_t frames_drawn() {
    return state().frames.load();
}

std::string shown_page() {
    activity& a = state();
    std::lock_guard<std::mutex> lock(a.m);
    return a.page;
}

void note_load_queued() {
    state().loads.fetch_add(1);
}

void note_load_done() {
    state().loads.fetch_sub(1);
}

int pending_loads() {
    return state().loads.load();
}

frame_stats take_frame_stats() {
    activity& a = state();
    std::lock_guard<std::mutex> lock(a.m);
    frame_stats out = a.stats;
    a.stats = frame_stats();
    return out;
}

} // namespace platform
