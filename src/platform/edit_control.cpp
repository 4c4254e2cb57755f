#include "platform/edit_control.h"

#include "platform/compositor.h"
#include "platform/window_system.h"

#include <algorithm>

namespace platform {

namespace {
const wchar_t* const selection_prop = L"platform.edit.all_selected";

void paint(HWND hwnd) {
    auto surface = get_window_surface(hwnd);
    if (!surface)
        return;
    bool focused = get_focus() == hwnd;
    {
        std::lock_guard<std::mutex> lock(surface->mutex());
        int w = surface->width(), h = surface->height();
        std::uint16_t* px = surface->pixels();
        const std::uint16_t border = focused ? rgb565(0x1A, 0x5F, 0xB4) : rgb565(0x80, 0x80, 0x80);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
                px[y * w + x] = edge ? border : 0xFFFF;
            }
        }
    }
    surface->touch();
}
} // namespace

bool edit_all_selected(HWND hwnd) {
    return get_prop(hwnd, selection_prop) != nullptr;
}

LRESULT edit_window_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CHAR: {
        std::wstring text = edit_all_selected(hwnd) ? std::wstring() : get_window_title(hwnd);
        remove_prop(hwnd, selection_prop);
        auto c = static_cast<wchar_t>(wparam);
        if (c == L'\b') {
            if (!text.empty())
                text.pop_back();
        } else if (c >= 0x20 && c != 0x7F) {
            text += c;
        } else {
            return 0;
        }
        set_window_title(hwnd, text);
        invalidate_window(hwnd);
        return 0;
    }
    case EM_SETSEL:
        if (wparam == 0 && static_cast<std::intptr_t>(lparam) == -1)
            set_prop(hwnd, selection_prop, reinterpret_cast<void*>(1));
        else
            remove_prop(hwnd, selection_prop);
        return 0;
    case WM_SETTEXT:
        remove_prop(hwnd, selection_prop);
        def_window_proc(hwnd, msg, wparam, lparam);
        invalidate_window(hwnd);
        return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        invalidate_window(hwnd);
        return 0;
    case WM_LBUTTONDOWN:
        set_focus(hwnd);
        return 0;
    case WM_PAINT:
        paint(hwnd);
        validate_window(hwnd);
        return 0;
    default:
        return def_window_proc(hwnd, msg, wparam, lparam);
    }
}

} // namespace platform
