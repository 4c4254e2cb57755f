#pragma once

#include "loop/event_queue.h"
#include "loop/frame_clock.h"
#include "loop/i_events_handler.h"

#include <functional>

namespace cl {
namespace app {

// Fixed 25 ms logic steps, a draw after each batch, a sleep for the rest of the frame, and the events
// the window posts. Runs on a thread of its own; exit, pause and resume reach it only as events.
class game_loop : public i_events_handler {
public:
    using sleeper = std::function<void(std::uint32_t)>;

    game_loop();
    ~game_loop() override;

    void on_event(const event& e) override = 0;
    virtual void init() {}
    virtual void cleanup() {}
    virtual void draw() = 0;
    virtual void update(unsigned long now_ms) = 0;
    virtual void exit();
    virtual void pause();
    virtual void resume();

    // The body of the loop thread.
    void run();
    // Any thread.
    void post(const event& e) { queue.push(e); }

protected:
    // Tests drive the loop on their own clock.
    game_loop(frame_clock::tick_source now, sleeper sleep);

    bool running = false;
    bool active = false;
    bool show_fps;
    unsigned fps_time = 0;
    unsigned fps = 0;
    unsigned fps_frames = 0;
    event_queue queue;
    frame_clock clock;

private:
    void run_frame();
    void process_events();
    void count_fps();

    sleeper sleep;
};

} // namespace app
} // namespace cl
