#include "ui/edit_box.h"

#include "platform/soft_input.h"
#include "platform/window_system.h"

#include <algorithm>

namespace cl {
namespace ui {

namespace {
const wchar_t* const original_proc_prop = L"_Static_Original_Proc_";
}

edit_box::edit_box(platform::HWND parent) : parent(parent) {
    using namespace platform;
    hwnd = create_window(0, L"EDIT", L"", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, 0, 0, width, height, parent,
                         nullptr);
    rect = RECT{0, 0, width, height};
    if (hwnd) {
        WNDPROC previous = set_window_proc(hwnd, &edit_box::replacement_proc);
        set_prop(hwnd, original_proc_prop, reinterpret_cast<void*>(previous));
        // The system font, made large enough for a finger-sized field.
        font.face = L"Tahoma";
        font.height = font_height;
        send_message(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(&font), 0);
    }
}

edit_box::~edit_box() {
    if (hwnd)
        platform::destroy_window(hwnd);
}

platform::LRESULT edit_box::replacement_proc(platform::HWND hwnd, platform::UINT msg, platform::WPARAM wparam,
                                             platform::LPARAM lparam) {
    using namespace platform;
    auto previous = reinterpret_cast<WNDPROC>(get_prop(hwnd, original_proc_prop));
    switch (msg) {
    case WM_SETFOCUS:
        platform::set_focus(hwnd);
        show_soft_input(true);
        return call_window_proc(previous, hwnd, msg, wparam, lparam);
    case WM_KILLFOCUS:
        platform::set_focus(reinterpret_cast<HWND>(wparam));
        show_soft_input(false);
        return call_window_proc(previous, hwnd, msg, wparam, lparam);
    case WM_LBUTTONDOWN:
        // A tap on the field brings back a keyboard put away while it kept the focus.
        show_soft_input(true);
        return call_window_proc(previous, hwnd, msg, wparam, lparam);
    case WM_KEYDOWN:
        if (wparam == VK_RETURN)
            send_message(get_parent(hwnd), WM_KEYDOWN, VK_RETURN, lparam);
        return -1;
    case WM_KEYUP:
        if (wparam == VK_APP2 || wparam == VK_APP3)
            send_message(get_parent(hwnd), WM_KEYUP, wparam, lparam);
        return -1;
    case WM_DESTROY:
        remove_prop(hwnd, original_proc_prop);
        return call_window_proc(previous, hwnd, msg, wparam, lparam);
    default:
        return call_window_proc(previous, hwnd, msg, wparam, lparam);
    }
}

void edit_box::set_text(const std::wstring& text) {
    platform::send_message(hwnd, platform::WM_SETTEXT, 0, reinterpret_cast<platform::LPARAM>(text.c_str()));
    // An empty field shows its caret rather than an empty selection.
    if (!text.empty())
        platform::send_message(hwnd, platform::EM_SETSEL, 0, -1);
}

std::wstring edit_box::get_text() const {
    wchar_t buffer[201] = {};
    platform::send_message(hwnd, platform::WM_GETTEXT, 201, reinterpret_cast<platform::LPARAM>(buffer));
    return buffer;
}

void edit_box::set_focus() {
    platform::send_message(hwnd, platform::WM_SETFOCUS, 0, 0);
}

void edit_box::kill_focus() {
    platform::send_message(hwnd, platform::WM_KILLFOCUS, reinterpret_cast<platform::WPARAM>(parent), 0);
}

void edit_box::move_to(int x, int y) {
    set_rect(platform::RECT{x, y, x + width, y + height});
}

void edit_box::set_rect(const platform::RECT& r) {
    rect = r;
    platform::move_window(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, true);
}

bool edit_box::is_visible() const {
    return platform::is_window_visible(hwnd);
}

void edit_box::set_visible(bool shown) {
    platform::show_window(hwnd, shown ? platform::SW_SHOW : platform::SW_HIDE);
}

void edit_box::draw(i_graphics&, bool) {
    draw();
}

void edit_box::draw() {
    platform::update_window(hwnd);
}

} // namespace ui
} // namespace cl
