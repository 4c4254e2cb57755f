#include "app/main_window.h"
#include "platform/module.h"
#include "platform/window_system.h"
#include "support/window_fixture.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

namespace {

using cl::app::event;
using namespace platform;

// A real loop on the real clock that records what reaches it.
class recording_loop : public cl::app::game_loop {
public:
    void on_event(const event& e) override {
        std::lock_guard<std::mutex> lock(m);
        seen.push_back(e);
    }
    void init() override { initialised = true; }
    void cleanup() override { cleaned_up = true; }
    void draw() override {}
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

    std::atomic<bool> initialised{false};
    std::atomic<bool> cleaned_up{false};
    std::atomic<int> pauses{0};
    std::atomic<int> resumes{0};

private:
    std::mutex m;
    std::vector<event> seen;
};

LRESULT host_proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return def_window_proc(h, m, w, l);
}

class panel_window : public window_fixture {
protected:
    void SetUp() override {
        window_fixture::SetUp();
        set_screen_size(480, 800);
        set_work_area(RECT{0, 52, 480, 800});
        window_class cls;
        cls.proc = host_proc;
        cls.name = L"HOST";
        register_class(cls);
        host = create_window(0, L"HOST", L"home", WS_VISIBLE, 0, 0, 480, 800, nullptr, nullptr);
        cls.name = L"MS_SIPBUTTON";
        register_class(cls);
        sip_button = create_window(0, L"MS_SIPBUTTON", L"", WS_VISIBLE, 400, 10, 30, 30, nullptr, nullptr);

        window.reset(new zor::app::main_window([this](zor::app::main_window&) {
            loops.push_back(boost::shared_ptr<recording_loop>(new recording_loop));
            return loops.back();
        }));
        window->init_instance(module_of(reinterpret_cast<const void*>(&host_proc)), host);
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
};

TEST_F(panel_window, is_a_visible_child_of_the_host_with_its_class_and_title_and_a_hidden_edit_box) {
    EXPECT_EQ(get_parent(hwnd), host);
    EXPECT_EQ(get_class_name(hwnd), L"QUELVO_APP_WND_CLASS");
    EXPECT_EQ(get_window_title(hwnd), L"Quelvo application main window");
    EXPECT_EQ(get_window_style(hwnd), WS_CHILD | WS_VISIBLE);
    ASSERT_NE(window->get_edit(), nullptr);
    HWND edit = window->get_edit()->get_hwnd();
    EXPECT_EQ(get_parent(edit), hwnd);
    EXPECT_EQ(get_class_name(edit), L"EDIT");
    EXPECT_FALSE(is_window_visible(edit));
    // The constructor hid the soft-input-panel button.
    EXPECT_FALSE(is_window_visible(sip_button));
}

TEST_F(panel_window, a_null_instance_is_refused) {
    zor::app::main_window other;
    try {
        other.init_instance(nullptr, host);
        FAIL() << "no exception";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "Pointer is null! instance == NULL");
    }
}

TEST_F(panel_window, a_second_window_with_the_same_class_and_title_adopts_the_first) {
    std::size_t children = get_children(host).size();
    zor::app::main_window second;
    second.init_instance(module_of(reinterpret_cast<const void*>(&host_proc)), host);
    EXPECT_EQ(second.get_hwnd(), hwnd);
    EXPECT_EQ(get_children(host).size(), children);
    EXPECT_EQ(second.get_edit(), nullptr);
    window->init_instance(module_of(reinterpret_cast<const void*>(&host_proc)), host); // serve hwnd again
}

TEST_F(panel_window, size_messages_place_the_edit_box_by_orientation) {
    send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(240, 320));
    EXPECT_EQ(window->get_edit()->get_rect(), (RECT{20, 350, 460, 410}));
    EXPECT_EQ(get_window_rect(window->get_edit()->get_hwnd()).top - get_window_rect(hwnd).top, 350);
    send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 240));
    EXPECT_EQ(window->get_edit()->get_rect(), (RECT{180, 120, 620, 180}));
}

TEST_F(panel_window, start_fits_below_the_top_bar_and_reports_the_work_area_as_client) {
    send(zor::app::main_window::msg_start);
    EXPECT_EQ(get_focus(), hwnd);
    EXPECT_EQ(get_window_rect(hwnd), (RECT{0, 52, 480, 852}));
    EXPECT_EQ(window->get_client_rect(), (RECT{0, 0, 480, 748}));
    ASSERT_TRUE(eventually([&] { return loop().initialised.load(); }));
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

    // Paint also comes from the window system itself, so it is left out of the sequence.
    std::vector<event> expected{event(event::key_down, VK_LEFT, 0, 0), event(event::key_down, VK_APP2, 0, 0),
                                event(event::key_down, VK_APP3, 0, 0), event(event::pen_down, 0, 10, 700),
                                event(event::pen_move, 0, 65535, 20),  event(event::pen_up, 0, 30, 40),
                                event(event::erase, 0, 0, 0),          event(event::resize, 0, 0, 0)};
    auto without_paint = [&] {
        std::vector<event> out;
        for (auto& e : loop().events())
            if (e.type != event::paint)
                out.push_back(e);
        return out;
    };
    ASSERT_TRUE(eventually([&] { return without_paint().size() >= expected.size(); }));
    std::vector<event> seen = without_paint();
    ASSERT_EQ(seen.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(seen[i].type, expected[i].type) << i;
        EXPECT_EQ(seen[i].pt.x, expected[i].pt.x) << i;
        EXPECT_EQ(seen[i].pt.y, expected[i].pt.y) << i;
        if (expected[i].type == event::key_down) {
            EXPECT_EQ(seen[i].key, expected[i].key) << i;
        }
    }
    // The explicit paint reached the loop between the pen and the erase.
    std::vector<event> all = loop().events();
    auto pen_up =
        std::find_if(all.begin(), all.end(), [](const event& e) { return e.type == event::pen_up; });
    auto erase = std::find_if(all.begin(), all.end(), [](const event& e) { return e.type == event::erase; });
    EXPECT_NE(std::find_if(pen_up, erase, [](const event& e) { return e.type == event::paint; }), erase);
}

TEST_F(panel_window, events_before_start_are_dropped) {
    send(WM_KEYDOWN, VK_UP);
    send(WM_PAINT);
    EXPECT_TRUE(loops.empty());
    send(zor::app::main_window::msg_start);
    ASSERT_TRUE(eventually([&] { return loop().initialised.load(); }));
    EXPECT_TRUE(loop().events().empty() || loop().events().front().type == event::paint);
}

TEST_F(panel_window, pause_twice_posts_one_pause_and_start_again_resumes) {
    send(zor::app::main_window::msg_start);
    send(zor::app::main_window::msg_pause);
    send(zor::app::main_window::msg_pause);
    EXPECT_TRUE(window->is_paused());
    send(zor::app::main_window::msg_start);
    EXPECT_FALSE(window->is_paused());
    ASSERT_TRUE(eventually([&] { return loop().resumes == 1; }));
    EXPECT_EQ(loop().pauses, 1);
    EXPECT_EQ(loops.size(), 1u);
}

TEST_F(panel_window, resume_without_pause_posts_nothing_but_hides_the_sip_button) {
    send(zor::app::main_window::msg_start);
    show_window(sip_button, SW_SHOW);
    window->resume_app();
    EXPECT_FALSE(is_window_visible(sip_button));
    send(zor::app::main_window::msg_stop);
    EXPECT_EQ(loop().resumes, 0);
}

TEST_F(panel_window, stop_waits_for_the_loop_and_a_later_start_runs_a_new_one) {
    window->stop_app(); // not started: nothing
    send(zor::app::main_window::msg_start);
    send(zor::app::main_window::msg_stop);
    // The loop thread has ended and cleaned up before the message returned.
    EXPECT_TRUE(loop().cleaned_up);
    EXPECT_FALSE(window->is_started());
    EXPECT_FALSE(window->get_loop().is_running());
    send(WM_KEYDOWN, VK_DOWN); // dropped: no loop runs
    EXPECT_TRUE(loop().events().empty() || loop().events().back().type != event::key_down);

    send(zor::app::main_window::msg_start);
    ASSERT_EQ(loops.size(), 2u);
    ASSERT_TRUE(eventually([&] { return loop().initialised.load(); }));
    EXPECT_EQ(zor::app::app_window(), window.get());
}

TEST_F(panel_window, destroying_the_window_stops_the_loop) {
    send(zor::app::main_window::msg_start);
    window->done_instance();
    EXPECT_TRUE(loop().cleaned_up);
    EXPECT_FALSE(is_window(hwnd));
    EXPECT_FALSE(is_class_registered(L"QUELVO_APP_WND_CLASS"));
    window.reset();
    // The destructor showed the button again.
    EXPECT_TRUE(is_window_visible(sip_button));
}

TEST_F(panel_window, settings_change_refits_after_rotation) {
    send(zor::app::main_window::msg_start);
    set_screen_size(800, 480);
    set_work_area(RECT{0, 52, 800, 480});
    move_window(host, 0, 0, 800, 480, true);
    send(WM_SETTINGCHANGE);
    EXPECT_EQ(get_window_rect(hwnd), (RECT{0, 52, 800, 532}));
    EXPECT_EQ(window->get_client_rect(), (RECT{0, 0, 800, 428}));
    EXPECT_EQ(window->get_edit()->get_rect(), (RECT{180, 120, 620, 180}));
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
    ASSERT_TRUE(eventually([&] {
        int keys = 0;
        for (auto& ev : loop().events())
            keys += ev.type == event::key_down;
        return keys >= 2;
    }));
    std::vector<int> keys;
    for (auto& ev : loop().events())
        if (ev.type == event::key_down)
            keys.push_back(ev.key);
    EXPECT_EQ(keys, (std::vector<int>{VK_RETURN, VK_APP3}));
    edit.kill_focus();
    EXPECT_EQ(get_focus(), hwnd);
}

} // namespace
