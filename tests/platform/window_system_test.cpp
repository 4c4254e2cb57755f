#include "platform/window_system.h"
#include "support/window_fixture.h"

#include <atomic>
#include <map>
#include <thread>
#include <vector>

namespace {

using namespace platform;

// Records every message each window receives, in order.
std::vector<std::pair<HWND, UINT>> received;
std::map<UINT, LRESULT> answers;

LRESULT recording_proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    received.emplace_back(h, m);
    auto it = answers.find(m);
    if (it != answers.end())
        return it->second;
    return def_window_proc(h, m, w, l);
}

class window_system : public window_fixture {
protected:
    void SetUp() override {
        window_fixture::SetUp();
        received.clear();
        answers.clear();
        ASSERT_TRUE(register_window_class(L"REC", recording_proc));
    }
    HWND make(HWND parent, int x, int y, int w, int h, DWORD style = WS_VISIBLE, const wchar_t* title = L"") {
        return create_window(0, L"REC", title, style | (parent ? WS_CHILD : 0), x, y, w, h, parent, nullptr);
    }
    std::vector<UINT> messages_of(HWND h) {
        std::vector<UINT> out;
        for (auto& r : received)
            if (r.first == h)
                out.push_back(r.second);
        return out;
    }
};

TEST_F(window_system, classes_are_unique_and_cannot_go_while_windows_use_them) {
    EXPECT_FALSE(register_window_class(L"REC", recording_proc));
    EXPECT_EQ(get_last_error(), ERROR_CLASS_ALREADY_EXISTS);
    HWND w = make(nullptr, 0, 0, 10, 10);
    EXPECT_FALSE(unregister_class(L"REC", nullptr));
    EXPECT_EQ(get_last_error(), ERROR_CLASS_HAS_WINDOWS);
    destroy_window(w);
    EXPECT_TRUE(unregister_class(L"REC", nullptr));
    EXPECT_FALSE(unregister_class(L"REC", nullptr));
    EXPECT_EQ(get_last_error(), ERROR_CLASS_DOES_NOT_EXIST);
    EXPECT_EQ(create_window(0, L"REC", L"", 0, 0, 0, 1, 1, nullptr, nullptr), nullptr);
    EXPECT_EQ(get_last_error(), ERROR_CANNOT_FIND_WND_CLASS);
}

TEST_F(window_system, creation_sends_create_size_and_move_and_can_be_refused) {
    HWND w = make(nullptr, 5, 6, 100, 50);
    EXPECT_EQ(messages_of(w), (std::vector<UINT>{WM_CREATE, WM_SIZE, WM_MOVE}));
    EXPECT_EQ(get_window_rect(w), (RECT{5, 6, 105, 56}));
    EXPECT_EQ(get_client_rect(w), (RECT{0, 0, 100, 50}));

    // The default position is the work area for a top-level window and empty for a child.
    set_work_area(RECT{0, 52, 480, 800});
    HWND top = make(nullptr, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
    EXPECT_EQ(get_window_rect(top), (RECT{0, 52, 480, 800}));
    HWND child = make(top, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
    EXPECT_EQ(get_client_rect(child), (RECT{0, 0, 0, 0}));
    EXPECT_EQ(get_window_surface(child)->width(), 0);

    answers[WM_CREATE] = -1;
    EXPECT_EQ(make(nullptr, 0, 0, 10, 10), nullptr);
    EXPECT_EQ(top_level_windows().size(), 2u);
}

TEST_F(window_system,
       focus_changes_send_kill_then_set_and_destroying_a_window_destroys_its_children_after_it) {
    HWND parent = make(nullptr, 0, 0, 100, 100);
    HWND a = make(parent, 0, 0, 10, 10);
    HWND b = make(a, 0, 0, 5, 5);
    EXPECT_EQ(set_focus(a), nullptr);
    received.clear();
    EXPECT_EQ(set_focus(b), a);
    set_focus(b); // no change, no messages
    EXPECT_EQ(get_focus(), b);
    EXPECT_EQ(received, (std::vector<std::pair<HWND, UINT>>{{a, WM_KILLFOCUS}, {b, WM_SETFOCUS}}));

    received.clear();
    EXPECT_TRUE(destroy_window(parent));
    std::vector<std::pair<HWND, UINT>> expected{{parent, WM_DESTROY}, {a, WM_DESTROY}, {b, WM_DESTROY}};
    EXPECT_EQ(received, expected);
    EXPECT_FALSE(is_window(a));
    EXPECT_FALSE(is_window(b));
    EXPECT_EQ(get_focus(), nullptr);
    EXPECT_FALSE(destroy_window(parent));
    EXPECT_EQ(get_last_error(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(window_system, find_window_matches_class_and_title_including_children) {
    HWND top = make(nullptr, 0, 0, 100, 100, WS_VISIBLE, L"home");
    HWND child = make(top, 0, 0, 10, 10, WS_VISIBLE, L"panel");
    HWND hidden = make(nullptr, 0, 0, 10, 10, 0, L"sip");
    EXPECT_EQ(find_window(L"REC", L"home"), top);
    EXPECT_EQ(find_window(L"REC", L"panel"), child);
    EXPECT_EQ(find_window(nullptr, L"sip"), hidden);
    EXPECT_EQ(find_window(L"OTHER", nullptr), nullptr);
    EXPECT_EQ(find_window(L"REC", L"nothing"), nullptr);
}

TEST_F(window_system, posted_messages_come_out_in_order_then_quit_and_invalid_windows_get_paint) {
    HWND w = make(nullptr, 0, 0, 10, 10);
    validate_window(w);
    post_message(w, WM_USER + 1, 1, 2);
    post_message(w, WM_USER + 2, 3, 4);
    post_quit_message(7);
    MSG m;
    ASSERT_TRUE(get_message(m));
    EXPECT_EQ(m.message, WM_USER + 1u);
    EXPECT_EQ(m.lParam, 2);
    ASSERT_TRUE(get_message(m));
    EXPECT_EQ(m.message, WM_USER + 2u);
    EXPECT_FALSE(get_message(m));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 7u);
    EXPECT_FALSE(peek_message(m, true));
    EXPECT_FALSE(post_message(reinterpret_cast<HWND>(0x999990), WM_USER, 0, 0));

    // An invalid visible window gets paint until it is validated.
    HWND shown = make(nullptr, 0, 0, 10, 10);
    HWND hidden = make(nullptr, 0, 0, 10, 10, 0);
    ASSERT_TRUE(peek_message(m, true));
    EXPECT_EQ(m.message, WM_PAINT);
    EXPECT_EQ(m.hwnd, shown);
    dispatch_message(m); // the default procedure validates
    EXPECT_FALSE(peek_message(m, true));
    EXPECT_TRUE(is_window_invalid(hidden));
    show_window(hidden, SW_SHOW);
    ASSERT_TRUE(peek_message(m, true));
    EXPECT_EQ(m.hwnd, hidden);
}

TEST_F(window_system, a_message_sent_from_another_thread_runs_on_the_owner_thread) {
    HWND w = make(nullptr, 0, 0, 10, 10);
    validate_window(w);
    answers[WM_USER] = 42;
    std::atomic<LRESULT> result{0};
    std::thread other([&] { result = send_message(w, WM_USER, 0, 0); });
    ASSERT_TRUE(eventually([&] { return result == 42; }));
    other.join();
    EXPECT_EQ(messages_of(w).back(), WM_USER);
}

TEST_F(window_system, moving_sends_size_only_when_the_size_changes_and_coordinates_convert_through_children) {
    HWND w = make(nullptr, 0, 0, 100, 50);
    received.clear();
    move_window(w, 10, 0, 100, 50, false);
    EXPECT_EQ(messages_of(w), (std::vector<UINT>{WM_MOVE}));
    received.clear();
    move_window(w, 10, 0, 200, 80, true);
    EXPECT_EQ(messages_of(w), (std::vector<UINT>{WM_SIZE}));
    EXPECT_EQ(get_window_surface(w)->width(), 200);
    EXPECT_EQ(get_window_surface(w)->height(), 80);
    EXPECT_TRUE(is_window_invalid(w));

    // Coordinates convert through nested children.
    HWND top = make(nullptr, 100, 200, 400, 400);
    HWND child = make(top, 10, 52, 300, 300);
    HWND inner = make(child, 5, 5, 50, 50);
    EXPECT_EQ(get_window_rect(inner), (RECT{115, 257, 165, 307}));
    POINT p{120, 260};
    ASSERT_TRUE(screen_to_client(inner, p));
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, 3);
    ASSERT_TRUE(client_to_screen(inner, p));
    EXPECT_EQ(p.x, 120);
    EXPECT_EQ(window_from_point(POINT{120, 260}), inner);
    EXPECT_EQ(window_from_point(POINT{112, 255}), child);
    EXPECT_EQ(window_from_point(POINT{105, 205}), top);
    EXPECT_EQ(window_from_point(POINT{5, 5}), nullptr);
    // A disabled window lets the point through to the one beneath it.
    HWND picture = make(inner, 0, 0, 50, 50, WS_VISIBLE | WS_DISABLED);
    EXPECT_EQ(window_from_point(POINT{120, 260}), inner);
    destroy_window(picture);
    show_window(child, SW_HIDE);
    EXPECT_FALSE(is_window_visible(inner));
    EXPECT_EQ(window_from_point(POINT{120, 260}), top);
}

TEST_F(window_system, properties_text_messages_and_replaced_procedures) {
    HWND w = make(nullptr, 0, 0, 10, 10);
    std::wstring text = L"Z\u00fcrich";
    send_message(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    EXPECT_EQ(send_message(w, WM_GETTEXTLENGTH, 0, 0), 6);
    wchar_t small[4];
    EXPECT_EQ(send_message(w, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(small)), 3);
    EXPECT_EQ(std::wstring(small), L"Z\u00fcr");

    int value = 0;
    EXPECT_TRUE(set_prop(w, L"p", &value));
    EXPECT_EQ(get_prop(w, L"p"), &value);
    EXPECT_EQ(remove_prop(w, L"p"), &value);
    EXPECT_EQ(get_prop(w, L"p"), nullptr);

    static WNDPROC previous = nullptr;
    static int seen = 0;
    seen = 0;
    previous = set_window_proc(w, [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        ++seen;
        return call_window_proc(previous, h, m, wp, lp);
    });
    EXPECT_EQ(previous, &recording_proc);
    received.clear();
    send_message(w, WM_USER, 0, 0);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(messages_of(w), (std::vector<UINT>{WM_USER}));
}

} // namespace
