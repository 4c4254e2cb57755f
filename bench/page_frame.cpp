// What a frame of the page costs: a full redraw (the first frames, a rotation, an expose), a quiet frame
// where only the bouncing arrows move, a frame during a tab slide, and rebuilding the page on rotation.
#include "bench_panel.h"

#include <benchmark/benchmark.h>

namespace {

using namespace platform;
using panel = bench_panel;

panel& the_panel() {
    static panel p;
    return p;
}

void full_frame(benchmark::State& state) {
    panel& p = the_panel();
    for (auto _ : state)
        p.frame(true);
}
BENCHMARK(full_frame)->Unit(benchmark::kMicrosecond);

void quiet_frame(benchmark::State& state) {
    panel& p = the_panel();
    for (auto _ : state)
        p.frame(false);
}
BENCHMARK(quiet_frame)->Unit(benchmark::kMicrosecond);

// Tabs and contents slide to the next content and back, one switch every 30 frames.
void sliding_frame(benchmark::State& state) {
    panel& p = the_panel();
    int n = 0;
    for (auto _ : state) {
        if (n++ % 30 == 0) {
            const int direction = (n / 30) % 2 == 0 ? zor::i_switchable::next : zor::i_switchable::previous;
            p.control->current_page().navigation().switch_to(direction, -1);
            p.control->current_page().contents().switch_to(direction, -1);
        }
        p.frame(false);
    }
}
BENCHMARK(sliding_frame)->Unit(benchmark::kMicrosecond);

// Turning the screen: a new page with its chrome and contents, laid out and drawn in full once.
void rotation(benchmark::State& state) {
    panel& p = the_panel();
    bool landscape = false;
    for (auto _ : state) {
        landscape = !landscape;
        p.control->resize(landscape ? RECT{0, 0, 800, 428} : RECT{0, 0, 480, 748});
        p.g->update_size();
        p.frame(true);
    }
}
BENCHMARK(rotation)->Unit(benchmark::kMicrosecond);

// Back to the world view after a first visit: the page is built anew, the globe set up and drawn once.
void world_view_second_visit(benchmark::State& state) {
    panel& p = the_panel();
    auto visit = [&p] {
        p.control->current_page().load(L"home", {L"", L"", L""}, {});
        p.frame(true);
        p.control->current_page().load(L"weather_item", {L"world_view", L"", L""}, {});
        p.frame(true);
    };
    visit(); // the first visit
    for (auto _ : state) {
        state.PauseTiming();
        p.control->current_page().load(L"home", {L"", L"", L""}, {});
        p.frame(true);
        state.ResumeTiming();
        p.control->current_page().load(L"weather_item", {L"world_view", L"", L""}, {});
        p.frame(true);
    }
}
BENCHMARK(world_view_second_visit)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
