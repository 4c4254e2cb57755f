// How much CPU a running panel burns when nobody touches it: the frame loop wakes 40 times a second. The
// article case opens an article of the demo news from a content server and waits for its picture first.
#include "app/panel_abi.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/window_system.h"
#include "support/server_process.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <fstream>
#include <functional>
#include <sstream>
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

void tap(int x, int y) {
    pen_down(x, y);
    pump_for(100);
    pen_up(x, y);
}

// The panel folder's config.xml names the server while the object lives, as the demo script does; the file
// is put back afterwards.
class config_pointing_at {
public:
    explicit config_pointing_at(const std::wstring& host) {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        original = text.str();
        std::string changed = original;
        for (const std::string tag : {"<server name=\"", "<weather name=\""}) {
            const std::size_t at = changed.find(tag);
            if (at == std::string::npos)
                continue;
            const std::size_t from = at + tag.size(), to = changed.find('"', from);
            changed.replace(from, to - from, std::string(host.begin(), host.end()));
        }
        std::ofstream(path, std::ios::trunc) << changed;
    }
    ~config_pointing_at() { std::ofstream(path, std::ios::trunc) << original; }

private:
    const std::string path = ZOR_PANEL_DIR "/config.xml";
    std::string original;
};

// opened: what to do once the panel has started (open a page).
void idle_panel(benchmark::State& state, bool paused, const std::function<void()>& opened = nullptr) {
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
    if (opened)
        opened();

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
// With the demo news from a content server: the home page with its sections, weather and tickers, or an
// article with its picture, open and loaded (the advert ticker under it still runs).
void served(benchmark::State& state, const std::function<void()>& opened) {
    server_process server{ZOR_CONTENT_SERVER, {"--port", "0", "--content", ZOR_SERVER_CONTENT}};
    if (!server.ready()) {
        state.SkipWithError("the content server did not start");
        return;
    }
    config_pointing_at config(server.host());
    idle_panel(state, false, opened);
}
void home(benchmark::State& state) {
    served(state, [] { pump_for(5000); });
}
void article(benchmark::State& state) {
    served(state, [] {
        pump_for(3000);
        tap(90, 722); // the footer's first category
        pump_for(2000);
        tap(250, 260);  // its first headline
        pump_for(5000); // the article, then its picture
    });
}

} // namespace

BENCHMARK(running)->Arg(10000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(paused)->Arg(10000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(home)->Arg(10000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(article)->Arg(10000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
