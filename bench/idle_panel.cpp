// How much CPU a running panel burns when nobody touches it: the frame loop wakes 40 times a second. The
// article case opens an article of the demo news from a content server and waits for its picture first.
#include "app/panel_abi.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/window_system.h"
#include "support/server_process.h"
#include "support/temp_folder.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
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

// The panel's folder with its config.xml naming the server: the library and the config are copied, the rest
// is linked.
void make_panel_folder(const std::string& folder, const std::wstring& host) {
    namespace fs = std::filesystem;
    for (const auto& entry : fs::directory_iterator(ZOR_PANEL_DIR)) {
        const fs::path to = fs::path(folder) / entry.path().filename();
        const std::string name = entry.path().filename().string();
        if (name == "options.xml")
            continue;
        if (name == "config.xml" || name == "libzor_panel.so")
            fs::copy_file(entry.path(), to);
        else
            fs::create_symlink(entry.path(), to);
    }
    std::ifstream in(folder + "/config.xml");
    std::stringstream text;
    text << in.rdbuf();
    const std::string server(host.begin(), host.end());
    const std::string config = std::regex_replace(
        text.str(), std::regex("(<(server|weather) name=\")[^\"]*\""), "$1" + server + "\"");
    std::ofstream(folder + "/config.xml", std::ios::trunc) << config;
}

// opened: what to do once the panel has started (open a page), in the panel's own folder.
void idle_panel(benchmark::State& state, bool paused, const std::string& folder = ZOR_PANEL_DIR,
                const std::function<void()>& opened = nullptr) {
    const std::uint32_t window_ms = static_cast<std::uint32_t>(state.range(0));
    void* lib = dlopen((folder + "/libzor_panel.so").c_str(), RTLD_NOW);
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
// An article with its picture, open and loaded: once the picture is drawn the page is as quiet as the home
// page (the advert ticker under it still runs).
void article(benchmark::State& state) {
    server_process server{ZOR_CONTENT_SERVER, {"--port", "0", "--content", ZOR_SERVER_CONTENT}};
    if (!server.ready()) {
        state.SkipWithError("the content server did not start");
        return;
    }
    temp_folder folder;
    make_panel_folder(folder.path(), server.host());
    idle_panel(state, false, folder.path(), [] {
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
BENCHMARK(article)->Arg(10000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
