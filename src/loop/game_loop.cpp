#include "loop/game_loop.h"

#include "platform/clock.h"
#include "platform/host_switches.h"
#include "platform/panel_activity.h"
#include "utils/errors.h"
#include "utils/log.h"

#include <exception>
#include <string>

namespace cl {
namespace app {

namespace {

// A fault in one step of a frame is logged and the loop goes on: ending the thread would leave the screen
// frozen with every input ignored. The same fault repeating every frame is logged once per hundred.
class frame_faults {
public:
    template <class F>
    void guard(const char* step, F&& body) {
        try {
            body();
        } catch (const std::exception& e) {
            report(step, e.what());
        } catch (...) {
            report(step, "unknown exception");
        }
    }

private:
    void report(const char* step, const std::string& what) {
        const std::string line = std::string("Frame loop: ") + step + " failed: " + what;
        if (line == last && ++repeats % 100 != 0)
            return;
        if (line != last)
            repeats = 0;
        last = line;
        utils::log(line);
    }

    std::string last;
    unsigned repeats = 0;
};

thread_local frame_faults faults;

} // namespace

game_loop::game_loop() : game_loop(platform::tick_count, platform::sleep_ms) {}

game_loop::game_loop(frame_clock::tick_source now, sleeper sleep)
    : show_fps(platform::show_fps()), clock(std::move(now)), sleep(std::move(sleep)) {}

game_loop::~game_loop() = default;

void game_loop::run() {
    utils::trace_scope trace("cl::app::game_loop::run");
    if (running)
        return;
    running = true;
    active = true;
    init();
    clock.reset();
    platform::note_frames_stopped();
    while (running) {
        if (active)
            run_frame();
        sleep(clock.sleep_time());
        faults.guard("events", [this] { process_events(); });
    }
    platform::note_frames_stopped();
    cleanup();
}

void game_loop::run_frame() {
    clock.begin_frame();
    while (clock.behind()) {
        faults.guard("events", [this] { process_events(); });
        faults.guard("update", [this] { update(clock.game_time); });
        clock.advance();
    }
    faults.guard("draw", [this] { draw(); });
    platform::note_frame(platform::tick_count());
    if (show_fps)
        count_fps();
    clock.end_frame();
}

void game_loop::process_events() {
    while (!queue.empty()) {
        event e = queue.pop();
        switch (e.type) {
        case event::exit:
            exit();
            break;
        case event::pause:
            pause();
            break;
        case event::resume:
            resume();
            break;
        default:
            on_event(e);
            break;
        }
    }
}

void game_loop::count_fps() {
    ++fps_frames;
    // Measured as elapsed logic time, so that neither a tick wrap nor an early start divides by zero.
    unsigned elapsed = clock.game_time - fps_time;
    if (elapsed >= 1000) {
        fps = fps_frames * 1000 / elapsed;
        fps_frames = 0;
        fps_time = clock.game_time;
    }
}

void game_loop::exit() {
    utils::trace_scope trace("cl::app::game_loop::exit");
    running = false;
}

void game_loop::pause() {
    utils::trace_scope trace("cl::app::game_loop::pause");
    active = false;
    clock.pause();
    platform::note_frames_stopped();
}

void game_loop::resume() {
    utils::trace_scope trace("cl::app::game_loop::resume");
    active = true;
    clock.resume();
}

} // namespace app
} // namespace cl
