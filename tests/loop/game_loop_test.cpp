#include "loop/game_loop.h"
#include "platform/debug_log.h"
#include "platform/host_switches.h"
#include "support/log_capture.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

using cl::app::event;

// A loop on a fake clock: sleeping advances time, and a script posts events at given times.
class scripted_loop : public cl::app::game_loop {
public:
    scripted_loop() : game_loop([this] { return now; }, [this](std::uint32_t ms) { advance_clock(ms); }) {}

    void on_event(const event& e) override {
        events.push_back(e.type);
        if (on_event_hook)
            on_event_hook(e);
    }
    void init() override { ++inits; }
    void cleanup() override { ++cleanups; }
    void draw() override {
        ++draws;
        now += draw_cost;
        if (on_draw_hook)
            on_draw_hook();
    }
    void update(unsigned long now_ms) override {
        updates.push_back(static_cast<std::uint32_t>(now_ms));
        if (on_update_hook)
            on_update_hook();
    }

    void at(std::uint32_t time, event e) { script.emplace(time, e); }
    void run_again() { run(); }
    unsigned measured_fps() const { return fps; }

    std::uint32_t now = 100000;
    std::uint32_t draw_cost = 0;
    std::vector<std::uint32_t> sleeps;
    std::vector<int> events;
    std::vector<std::uint32_t> updates;
    int draws = 0, inits = 0, cleanups = 0;
    std::function<void(const event&)> on_event_hook;
    std::function<void()> on_update_hook;
    std::function<void()> on_draw_hook;

private:
    // The loop's pause between frames: no real wait, the fake clock moves on.
    void advance_clock(std::uint32_t ms) {
        sleeps.push_back(ms);
        now += ms;
        while (!script.empty() && script.begin()->first <= now) {
            post(script.begin()->second);
            script.erase(script.begin());
        }
    }
    std::multimap<std::uint32_t, event> script;
};

TEST(game_loop, exit_pause_and_resume_never_reach_on_event_and_a_five_second_pause_is_not_made_up) {
    scripted_loop loop;
    loop.at(100050, event(event::key_down, 13, 0, 0));
    loop.at(100100, event(event::pause, 0, 0, 0));
    loop.at(100100, event(event::pen_down, 0, 5, 6));
    loop.at(105100, event(event::resume, 0, 0, 0));
    loop.at(105100, event(event::paint, 0, 0, 0));
    loop.at(105200, event(event::exit, 0, 0, 0));
    std::size_t before_resume = 0;
    loop.on_update_hook = [&] {
        if (loop.now < 105100)
            before_resume = loop.updates.size();
    };
    loop.run();
    EXPECT_EQ(loop.events, (std::vector<int>{event::key_down, event::pen_down, event::paint}));
    EXPECT_EQ(loop.inits, 1);
    EXPECT_EQ(loop.cleanups, 1);
    EXPECT_LT(loop.updates.size() - before_resume, 10u);
    // While paused no frame ran: nothing was drawn for five seconds.
    EXPECT_LT(loop.draws, 20);
}

TEST(game_loop, steps_the_logic_every_25_ms_and_sleeps_out_the_frame) {
    scripted_loop loop;
    loop.draw_cost = 10;
    loop.at(100200, event(event::exit, 0, 0, 0));
    loop.run();
    ASSERT_GE(loop.updates.size(), 4u);
    for (std::size_t i = 1; i < loop.updates.size(); ++i)
        EXPECT_EQ(loop.updates[i] - loop.updates[i - 1], 25u);
    // Each 10 ms frame is followed by a 15 ms sleep.
    for (std::size_t i = 1; i < loop.sleeps.size(); ++i)
        EXPECT_EQ(loop.sleeps[i], 15u);
}

TEST(game_loop, a_slow_frame_is_followed_by_catch_up_steps_before_the_next_draw) {
    scripted_loop loop;
    loop.draw_cost = 90;
    loop.at(100400, event(event::exit, 0, 0, 0));
    loop.run();
    EXPECT_EQ(loop.sleeps.back(), 1u);
    // Logic time keeps pace with real time although the frames are slow.
    EXPECT_GE(loop.updates.size(), static_cast<std::size_t>(loop.draws * 3));
}

// A handler that runs the loop again returns at once; the exit it posts ends this very pass.
TEST(game_loop, a_handler_can_neither_nest_the_loop_nor_wait_for_its_own_events) {
    scripted_loop loop;
    loop.at(100030, event(event::key_down, 1, 0, 0));
    loop.on_event_hook = [&](const event&) {
        loop.run_again();
        loop.post(event(event::exit, 0, 0, 0));
    };
    loop.run();
    EXPECT_EQ(loop.inits, 1);
    EXPECT_EQ(loop.cleanups, 1);
    EXPECT_LE(loop.now, 100060u);
}

// A fault in one frame is logged and the next frames run: the loop never ends on its own.
TEST(game_loop, a_throwing_update_draw_or_handler_is_logged_and_the_loop_goes_on) {
    log_capture log;
    scripted_loop loop;
    loop.at(100060, event(event::key_down, 1, 0, 0));
    loop.at(100300, event(event::exit, 0, 0, 0));
    loop.on_update_hook = [&] {
        if (loop.updates.size() == 2)
            throw std::runtime_error("update fault");
    };
    loop.on_draw_hook = [&] {
        if (loop.draws == 3)
            throw std::runtime_error("Invalid coordinates");
    };
    loop.on_event_hook = [](const event&) { throw 42; };
    EXPECT_NO_THROW(loop.run());

    EXPECT_EQ(loop.cleanups, 1);
    EXPECT_GE(loop.now, 100300u); // it ran until it was told to end
    EXPECT_GE(loop.draws, 8);
    // Logic time moved on past the failed step.
    for (std::size_t i = 1; i < loop.updates.size(); ++i)
        EXPECT_EQ(loop.updates[i] - loop.updates[i - 1], 25u);
    const std::string all = log.text();
    EXPECT_NE(all.find("update fault"), std::string::npos) << all;
    EXPECT_NE(all.find("Invalid coordinates"), std::string::npos) << all;
    EXPECT_NE(all.find("unknown"), std::string::npos) << all;
}

TEST(game_loop, counts_frames_per_second_only_when_switched_on) {
    {
        scripted_loop off;
        off.at(102100, event(event::exit, 0, 0, 0));
        off.run();
        EXPECT_EQ(off.measured_fps(), 0u);
    }
    platform::set_show_fps(true);
    scripted_loop on;
    platform::set_show_fps(false);
    on.at(102100, event(event::exit, 0, 0, 0));
    on.run();
    EXPECT_EQ(on.measured_fps(), 40u);
}

} // namespace
