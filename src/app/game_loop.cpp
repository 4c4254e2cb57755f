#include "app/game_loop.h"

#include "platform/clock.h"
#include "platform/host_switches.h"
#include "platform/panel_activity.h"
#include "utils/errors.h"

namespace cl {
namespace app {

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
        process_events();
    }
    platform::note_frames_stopped();
    cleanup();
}

void game_loop::run_frame() {
    clock.begin_frame();
    while (clock.behind()) {
        process_events();
        update(clock.game_time);
        clock.advance();
    }
    draw();
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
