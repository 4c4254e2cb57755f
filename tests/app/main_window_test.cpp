#include "app/main_window.h"
#include "platform/module.h"
#include "platform/window_system.h"
#include "support/window_fixture.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using cl::app::event;
using namespace platform;

std::string text(const event& e) {
    return std::to_string(e.type) + " " + std::to_string(e.key) + " " + std::to_string(e.pt.x) + "," +
           std::to_string(e.pt.y);
}

// A real loop on the real clock that records what reaches it.
class recording_loop : public cl::app::game_loop {
public:
    void on_event(const event& e) override {
        std::lock_guard<std::mutex> lock(m);
        seen.push_back(e);
    }
    void init() override { initialised = true; }
    void cleanup() override { cleaned_up = true; }
    void draw() override {
        if (draw_hook)
            draw_hook();
    }
    void update(unsigned long) override {}
    void pause() override {
        game_loop::pause();
        ++pauses;
    }
    void resume() override {
        game_loop::resume();
        ++resumes;
    }

    std::vector<event> events() {
        std::lock_guard<std::mutex> lock(m);
        return seen;
    }
    // Each event but paint, which the window system sends as well.
    std::vector<std::string> without_paint() {
        std::vector<std::string> out;
        for (const event& e : events())
            if (e.type != event::paint)
                out.push_back(text(e));
        return out;
    }
    std::vector<int> keys() {
        std::vector<int> out;
        for (const event& e : events())
            if (e.type == event::key_down)
                out.push_back(e.key);
        return out;
    }

    std::atomic<bool> initialised{false};
    std::atomic<bool> cleaned_up{false};
    std::atomic<int> pauses{0};
    std::atomic<int> resumes{0};
    std::function<void()> draw_hook;

private:
    std::mutex m;
    std::vector<event> seen;
};

// The module of this test, as the host passes its own.
HINSTANCE this_module() {
    return module_of(reinterpret_cast<const void*>(&text));
}

class panel_window : public window_fixture {
protected:
    void SetUp() override {
        window_fixture::SetUp();
        set_screen_size(480, 800);
        set_work_area(RECT{0, 52, 480, 800});
        register_window_class(L"HOST");
        host = create_window(0, L"HOST", L"home", WS_VISIBLE, 0, 0, 480, 800, nullptr, nullptr);
        register_window_class(L"MS_SIPBUTTON");
        sip_button = create_window(0, L"MS_SIPBUTTON", L"", WS_VISIBLE, 400, 10, 30, 30, nullptr, nullptr);

        window.reset(new zor::app::main_window([this](zor::app::main_window&) {
            loops.push_back(boost::shared_ptr<recording_loop>(new recording_loop));
            loops.back()->draw_hook = draw_hook;
            return loops.back();
        }));
        window->init_instance(this_module(), host);
        hwnd = window->get_hwnd();
    }
    void TearDown() override {
        if (window) {
            window->done_instance();
            window.reset();
        }
        window_fixture::TearDown();
    }

    LRESULT send(UINT msg, WPARAM w = 0, LPARAM l = 0) { return send_message(hwnd, msg, w, l); }
    recording_loop& loop() { return *loops.back(); }

    HWND host = nullptr;
    HWND sip_button = nullptr;
    HWND hwnd = nullptr;
    std::vector<boost::shared_ptr<recording_loop>> loops;
    std::unique_ptr<zor::app::main_window> window;
    std::function<void()> draw_hook; // given to every loop made from now on
};

// Its class, title and parent, which the host looks for, are checked through the loaded library.
TEST_F(panel_window, is_a_visible_child_with_a_hidden_edit_box) {
    EXPECT_EQ(get_window_style(hwnd), WS_CHILD | WS_VISIBLE);
    ASSERT_NE(window->get_edit(), nullptr);
    HWND edit = window->get_edit()->get_hwnd();
    EXPECT_EQ(get_parent(edit), hwnd);
    EXPECT_EQ(get_class_name(edit), L"EDIT");
    EXPECT_FALSE(is_window_visible(edit));
    // The constructor hid the soft-input-panel button.
    EXPECT_FALSE(is_window_visible(sip_button));
}

TEST_F(panel_window, a_second_window_adopts_the_first_of_its_class_and_title_and_needs_an_instance) {
    std::size_t children = get_children(host).size();
    zor::app::main_window second;
    EXPECT_THROW(second.init_instance(nullptr, host), std::logic_error);
    second.init_instance(this_module(), host);
    EXPECT_EQ(second.get_hwnd(), hwnd);
    EXPECT_EQ(get_children(host).size(), children);
    EXPECT_EQ(second.get_edit(), nullptr);
    window->init_instance(this_module(), host); // serve hwnd again
}

// The edit box is placed by orientation at every new size.
TEST_F(panel_window, start_fits_below_the_top_bar_and_reports_the_work_area_as_client) {
    auto placed = [&] { // the edit window, relative to the panel
        RECT e = get_window_rect(window->get_edit()->get_hwnd()), p = get_window_rect(hwnd);
        return RECT{e.left - p.left, e.top - p.top, e.right - p.left, e.bottom - p.top};
    };
    send(zor::app::main_window::msg_start);
    EXPECT_EQ(get_focus(), hwnd);
    EXPECT_EQ(get_window_rect(hwnd), (RECT{0, 52, 480, 852}));
    EXPECT_EQ(window->get_client_rect(), (RECT{0, 0, 480, 748}));
    EXPECT_EQ(window->get_edit()->get_rect(), (RECT{20, 350, 460, 410}));
    EXPECT_EQ(placed(), (RECT{20, 350, 460, 410}));
    ASSERT_TRUE(eventually([&] { return loop().initialised.load(); }));

    // After a rotation a settings change fits it again.
    set_screen_size(800, 480);
    set_work_area(RECT{0, 52, 800, 480});
    move_window(host, 0, 0, 800, 480, true);
    send(WM_SETTINGCHANGE);
    EXPECT_EQ(get_window_rect(hwnd), (RECT{0, 52, 800, 532}));
    EXPECT_EQ(window->get_client_rect(), (RECT{0, 0, 800, 428}));
    EXPECT_EQ(window->get_edit()->get_rect(), (RECT{180, 120, 620, 180}));
    EXPECT_EQ(placed(), (RECT{180, 120, 620, 180}));
}

TEST_F(panel_window, messages_reach_the_loop_as_events) {
    send(zor::app::main_window::msg_start);
    EXPECT_EQ(send(WM_KEYDOWN, VK_LEFT), 0);
    send(WM_KEYUP, VK_LEFT);   // other key-ups are dropped
    send(WM_KEYDOWN, VK_APP2); // a soft key counts once, on release
    EXPECT_EQ(send(WM_KEYUP, VK_APP2), 0);
    EXPECT_EQ(send(WM_KEYUP, VK_APP3), 0);
    EXPECT_EQ(send(WM_LBUTTONDOWN, 1, MAKELPARAM(10, 700)), 0);
    EXPECT_EQ(send(WM_MOUSEMOVE, 1, MAKELPARAM(0xFFFF, 20)), 0); // halves are unsigned
    EXPECT_EQ(send(WM_LBUTTONUP, 0, MAKELPARAM(30, 40)), 0);
    send(WM_PAINT);
    send(WM_ERASEBKGND);
    send(WM_SETTINGCHANGE);

    send(zor::app::main_window::msg_stop); // the loop handles what came before it ends
    // The start fits the window under the top bar: its new size comes first.
    const event expected[] = {event(event::resize, 0, 0, 0),         event(event::key_down, VK_LEFT, 0, 0),
                              event(event::key_down, VK_APP2, 0, 0), event(event::key_down, VK_APP3, 0, 0),
                              event(event::pen_down, 0, 10, 700),    event(event::pen_move, 0, 65535, 20),
                              event(event::pen_up, 0, 30, 40),       event(event::erase, 0, 0, 0),
                              event(event::resize, 0, 0, 0)};
    std::vector<std::string> want;
    for (const event& e : expected)
        want.push_back(text(e));
    EXPECT_EQ(loop().without_paint(), want);
    // The explicit paint reached the loop between the pen and the erase.
    std::vector<event> all = loop().events();
    auto find = [&](std::vector<event>::iterator from, int type) {
        return std::find_if(from, all.end(), [&](const event& e) { return e.type == type; });
    };
    EXPECT_LT(find(find(all.begin(), event::pen_up), event::paint), find(all.begin(), event::erase));
}

// Whatever moves the panel window (the host's rotation, a focus that fits it under the top bar), the loop
// hears of it and draws for the new size: a stale size made the page copy outside its back buffer.
TEST_F(panel_window, every_new_size_of_the_window_reaches_the_loop) {
    send(zor::app::main_window::msg_start);
    ASSERT_TRUE(eventually([&] { return loop().initialised.load(); }));
    auto resizes = [&] {
        const std::vector<event> all = loop().events();
        return std::count_if(all.begin(), all.end(), [](const event& e) { return e.type == event::resize; });
    };
    for (RECT r : {RECT{0, 52, 800, 480}, RECT{0, 52, 480, 800}}) {
        const auto before = resizes();
        move_window(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, true);
        EXPECT_TRUE(eventually([&] { return resizes() > before; }));
    }
    const auto settled = resizes();
    show_window(hwnd, SW_SHOW);
    send(WM_SIZE, SIZE_MINIMIZED, 0); // minimising is a pause, not a size
    send(zor::app::main_window::msg_stop);
    EXPECT_EQ(resizes(), settled);
}

TEST_F(panel_window, pause_and_resume_each_post_once_and_only_when_they_change_something) {
    send(zor::app::main_window::msg_start);
    show_window(sip_button, SW_SHOW);
    window->resume_app(); // not paused: posts nothing, but hides the button
    EXPECT_FALSE(is_window_visible(sip_button));
    send(zor::app::main_window::msg_pause);
    send(zor::app::main_window::msg_pause);
    EXPECT_TRUE(window->is_paused());
    send(zor::app::main_window::msg_start); // resumes the running loop
    EXPECT_FALSE(window->is_paused());
    send(zor::app::main_window::msg_stop); // the loop handles what came before it ends
    EXPECT_EQ(loop().pauses, 1);
    EXPECT_EQ(loop().resumes, 1);
    EXPECT_EQ(loops.size(), 1u);
}

// Events pass only while a loop runs.
TEST_F(panel_window, stop_waits_for_the_loop_a_later_start_runs_a_new_one_and_destruction_stops_it) {
    window->stop_app(); // not started: nothing
    send(WM_KEYDOWN, VK_UP);
    EXPECT_TRUE(loops.empty());
    send(zor::app::main_window::msg_start);
    send(zor::app::main_window::msg_stop);
    // The loop thread has ended and cleaned up before the message returned.
    EXPECT_TRUE(loop().cleaned_up);
    EXPECT_FALSE(window->is_started());
    EXPECT_FALSE(window->get_loop().is_running());
    send(WM_KEYDOWN, VK_DOWN);
    EXPECT_TRUE(loop().keys().empty()); // neither the key before start nor the one after stop

    send(zor::app::main_window::msg_start);
    ASSERT_EQ(loops.size(), 2u);
    ASSERT_TRUE(eventually([&] { return loop().initialised.load(); }));
    EXPECT_EQ(zor::app::app_window(), window.get());

    // Destroying the window stops the running loop; the destructor shows the button again.
    window->done_instance();
    EXPECT_TRUE(loop().cleaned_up);
    EXPECT_FALSE(is_window(hwnd));
    window.reset();
    EXPECT_TRUE(is_window_visible(sip_button));
}

// A frame may be inside a call sent to the window thread (focus, edit text, update_window) just when the
// window stops the loop: the window thread must go on answering it while it waits for the loop to end.
TEST_F(panel_window, stopping_while_a_frame_waits_on_the_window_thread_ends_the_loop) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto stop_while_a_frame_sends = [this] {
        alarm(60); // a deadlock ends the child instead of the run
        std::atomic<bool> sending{false};
        draw_hook = [&, sent = false]() mutable {
            if (sent)
                return;
            sent = true;
            sending = true;
            invalidate_window(hwnd);
            update_window(hwnd);
        };
        send(zor::app::main_window::msg_start);
        while (!sending)
            std::this_thread::yield();
        send(zor::app::main_window::msg_stop);
        std::_Exit(loop().cleaned_up && !window->get_loop().is_running() ? 0 : 1);
    };
    EXPECT_EXIT(stop_while_a_frame_sends(), ::testing::ExitedWithCode(0), "");
}

TEST_F(panel_window, the_edit_box_types_swallows_arrows_and_hands_enter_to_the_panel) {
    send(zor::app::main_window::msg_start);
    cl::ui::edit_box& edit = *window->get_edit();
    edit.set_visible(true);
    edit.set_text(L"Lon");
    edit.set_focus();
    EXPECT_EQ(get_focus(), edit.get_hwnd());
    HWND e = edit.get_hwnd();
    send_message(e, WM_CHAR, L'X', 0); // replaces the selected text
    send_message(e, WM_CHAR, L'y', 0);
    EXPECT_EQ(edit.get_text(), L"Xy");
    EXPECT_EQ(send_message(e, WM_KEYDOWN, VK_LEFT, 0), -1);
    send_message(e, WM_KEYDOWN, VK_RETURN, 0);
    send_message(e, WM_KEYUP, VK_APP3, 0);
    ASSERT_TRUE(eventually([&] { return loop().keys().size() >= 2; }));
    EXPECT_EQ(loop().keys(), (std::vector<int>{VK_RETURN, VK_APP3}));
    edit.kill_focus();
    EXPECT_EQ(get_focus(), hwnd);
}

} // namespace
