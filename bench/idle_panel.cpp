// How much CPU a running panel burns when nobody touches it: the frame loop wakes 40 times a second.
#include "app/panel_abi.h"
#include "platform/clock.h"
#include "platform/window_system.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <sys/resource.h>

namespace {

using namespace platform;

double process_cpu_ms() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

LRESULT host_proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return def_window_proc(h, m, w, l);
}

void pump_for(std::uint32_t ms) {
    std::uint32_t start = tick_count();
    while (tick_count() - start < ms) {
        MSG msg;
        while (peek_message(msg, true))
            dispatch_message(msg);
        wait_message(50);
    }
}

void idle_panel(benchmark::State& state, bool paused) {
    const std::uint32_t window_ms = static_cast<std::uint32_t>(state.range(0));
    void* lib = dlopen(ZOR_PANEL_DIR "/libzor_panel.so", RTLD_NOW);
    if (!lib) {
        state.SkipWithError(dlerror());
        return;
    }
    auto lookup = reinterpret_cast<zor::abi::ordinal_lookup>(dlsym(lib, zor::abi::ordinal_lookup_symbol));
    auto create = reinterpret_cast<zor::abi::create_panel>(lookup(240));
    auto destroy = reinterpret_cast<zor::abi::destroy_panel>(lookup(242));

    set_work_area(RECT{0, 52, 480, 800});
    window_class cls;
    cls.proc = host_proc;
    cls.name = L"BENCH_HOME";
    register_class(cls);
    HWND host = create_window(0, L"BENCH_HOME", L"", WS_VISIBLE, 0, 0, 480, 800, nullptr, nullptr);
    HWND panel = create(nullptr, host);
    send_message(panel, 6026, 0, 0);
    if (paused)
        send_message(panel, 6027, 0, 0);
    pump_for(200);

    double cpu = 0;
    for (auto _ : state) {
        double before = process_cpu_ms();
        pump_for(window_ms);
        cpu = process_cpu_ms() - before;
        state.SetIterationTime(window_ms / 1000.0);
    }
    state.counters["cpu_ms"] = cpu;
    state.counters["cpu_percent"] = 100.0 * cpu / window_ms;

    send_message(panel, 6025, 0, 0);
    destroy();
    destroy_window(host);
    unregister_class(L"BENCH_HOME", nullptr);
    dlclose(lib);
}

void running(benchmark::State& state) {
    idle_panel(state, false);
}
void paused(benchmark::State& state) {
    idle_panel(state, true);
}

} // namespace

BENCHMARK(running)->Arg(10000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(paused)->Arg(10000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
