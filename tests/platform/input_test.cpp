#include "platform/compositor.h"
#include "platform/edit_control.h"
#include "platform/input.h"
#include "platform/text_renderer.h"
#include "platform/window_system.h"
#include "support/window_fixture.h"

#include <tuple>
#include <vector>

namespace {

using namespace platform;

struct seen_message {
    HWND hwnd;
    UINT msg;
    WPARAM w;
    int x, y;
};
std::vector<seen_message> seen;

LRESULT proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_LBUTTONDOWN || m == WM_LBUTTONUP || m == WM_MOUSEMOVE || m == WM_KEYDOWN || m == WM_KEYUP ||
        m == WM_CHAR)
        seen.push_back({h, m, w, static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(l))),
                        static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(l)))});
    return def_window_proc(h, m, w, l);
}

class input : public window_fixture {
protected:
    void SetUp() override {
        window_fixture::SetUp();
        seen.clear();
        register_window_class(L"IN", proc);
        top = create_window(0, L"IN", L"", WS_VISIBLE, 0, 0, 480, 800, nullptr, nullptr);
        panel = create_window(0, L"IN", L"", WS_VISIBLE | WS_CHILD, 0, 52, 480, 748, top, nullptr);
    }
    HWND top = nullptr, panel = nullptr;
};

TEST_F(input, the_pen_stays_with_the_window_it_went_down_on) {
    pen_move(100, 100); // pen up: no moves
    pen_down(100, 100);
    pen_move(100, 30); // over the top bar, still the panel's
    pen_up(100, 20);
    pen_down(10, 10); // over the top bar: the top window's
    pen_up(10, 10);
    pump();
    EXPECT_FALSE(pen_is_down());
    std::vector<std::tuple<HWND, UINT, int>> where; // window, message, client y
    for (const auto& m : seen)
        where.emplace_back(m.hwnd, m.msg, m.y);
    EXPECT_EQ(where, (std::vector<std::tuple<HWND, UINT, int>>{{panel, WM_LBUTTONDOWN, 48},
                                                               {panel, WM_MOUSEMOVE, -22},
                                                               {panel, WM_LBUTTONUP, -32},
                                                               {top, WM_LBUTTONDOWN, 10},
                                                               {top, WM_LBUTTONUP, 10}}));
}

TEST_F(input, keys_and_text_go_to_the_focus) {
    key_down(VK_LEFT); // no focus: dropped
    set_focus(panel);
    key_down(VK_APP2);
    key_up(VK_APP2);
    text_input(L"a\u00e9");
    pump();
    std::vector<std::tuple<HWND, UINT, WPARAM>> keys;
    for (const auto& m : seen)
        keys.emplace_back(m.hwnd, m.msg, m.w);
    EXPECT_EQ(keys, (std::vector<std::tuple<HWND, UINT, WPARAM>>{{panel, WM_KEYDOWN, VK_APP2},
                                                                 {panel, WM_KEYUP, VK_APP2},
                                                                 {panel, WM_CHAR, L'a'},
                                                                 {panel, WM_CHAR, L'\u00e9'}}));
}

TEST_F(input, the_edit_class_types_deletes_and_replaces_a_full_selection) {
    HWND edit = create_window(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 20, 350, 440, 60, panel, nullptr);
    ASSERT_NE(edit, nullptr);
    pen_down(30, 52 + 360);
    pen_up(30, 52 + 360);
    pump();
    EXPECT_EQ(get_focus(), edit);
    text_input(L"Pariss\b");
    pump();
    EXPECT_EQ(get_window_title(edit), L"Paris");
    send_message(edit, EM_SETSEL, 0, -1);
    EXPECT_TRUE(edit_all_selected(edit));
    text_input(L"R");
    pump();
    EXPECT_EQ(get_window_title(edit), L"R");
    EXPECT_FALSE(edit_all_selected(edit));
}

// Pixels of the field's surface equal to the colour, inside the columns [x0, x1).
int count(HWND h, std::uint16_t colour, int x0, int x1) {
    auto s = get_window_surface(h);
    std::lock_guard<std::mutex> lock(s->mutex());
    int n = 0;
    for (int y = 1; y < s->height() - 1; ++y)
        for (int x = std::max(x0, 1); x < std::min(x1, s->width() - 1); ++x)
            n += s->pixels()[y * s->width() + x] == colour;
    return n;
}

class edit_field : public input {};

TEST_F(edit_field, paints_its_text_the_selection_and_a_caret_while_focused) {
    HWND edit = create_window(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 20, 350, 440, 60, panel, nullptr);
    font_spec big{L"Tahoma", 40, 0};
    send_message(edit, WM_SETFONT, reinterpret_cast<WPARAM>(&big), 0);
    const std::uint16_t black = 0x0000, selection = rgb565(0x00, 0x78, 0xD7);

    update_window(edit);
    EXPECT_EQ(count(edit, black, 0, 440), 0); // empty and not focused: no caret

    set_focus(edit);
    text_input(L"Oslo");
    pump();
    update_window(edit);
    const int ink = count(edit, black, 0, 440);
    EXPECT_GT(ink, 100);
    EXPECT_EQ(count(edit, black, 200, 440), 0); // a short word stays at the left

    // Everything selected: white text on the selection colour, no caret.
    send_message(edit, EM_SETSEL, 0, -1);
    update_window(edit);
    EXPECT_GT(count(edit, selection, 0, 440), 200);
    EXPECT_LT(count(edit, black, 0, 440), ink / 4);

    // A text longer than the field keeps its end in view: ink reaches the right edge, caret included.
    send_message(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Llanfairpwllgwyngyllgogerychwyrndrobwll"));
    update_window(edit);
    EXPECT_GT(count(edit, black, 400, 440), 20);
    destroy_window(edit);
}

} // namespace
