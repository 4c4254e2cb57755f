#include "platform/edit_control.h"

#include "platform/compositor.h"
#include "platform/text_renderer.h"
#include "platform/window_system.h"

#include <algorithm>

namespace platform {

namespace {
const wchar_t* const selection_prop = L"platform.edit.all_selected";
const wchar_t* const font_prop = L"platform.edit.font";

const int padding = 6;
const int caret_width = 2;
const COLORREF text_colour = 0x000000;
const COLORREF selected_text_colour = 0xFFFFFF;

font_spec default_font() {
    font_spec f;
    f.face = L"Tahoma";
    f.height = 24;
    return f;
}

font_spec window_font(HWND hwnd) {
    auto* f = static_cast<font_spec*>(get_prop(hwnd, font_prop));
    return f ? *f : default_font();
}

void set_window_font(HWND hwnd, const font_spec* spec) {
    delete static_cast<font_spec*>(remove_prop(hwnd, font_prop));
    if (spec)
        set_prop(hwnd, font_prop, new font_spec(*spec));
}

void fill(std::uint16_t* px, int stride, const RECT& r, std::uint16_t colour) {
    for (int y = r.top; y < r.bottom; ++y)
        std::fill(px + y * stride + r.left, px + y * stride + r.right, colour);
}

RECT clipped(RECT r, int w, int h) {
    r.left = std::max(r.left, 0);
    r.top = std::max(r.top, 0);
    r.right = std::min(r.right, w);
    r.bottom = std::min(r.bottom, h);
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

// One line of text, left-aligned and vertically centred; when it is wider than the field the end stays in
// view, as with automatic horizontal scrolling. The caret follows the last character.
void paint(HWND hwnd) {
    auto surface = get_window_surface(hwnd);
    if (!surface)
        return;
    const bool focused = get_focus() == hwnd;
    const bool selected = edit_all_selected(hwnd);
    const std::wstring text = get_window_title(hwnd);
    const font_spec font = window_font(hwnd);
    {
        std::lock_guard<std::mutex> lock(surface->mutex());
        const int w = surface->width(), h = surface->height();
        std::uint16_t* px = surface->pixels();
        fill(px, w, RECT{0, 0, w, h}, 0xFFFF);
        rgb565_target target{px, w, h, w};

        RECT measure{0, 0, 0, 0};
        const int text_width = text.empty() ? 0 : [&] {
            draw_text(target, text, measure, font, text_colour, DT_SINGLELINE | DT_CALCRECT);
            return measure.right - measure.left;
        }();
        const int inner = w - 2 * padding - caret_width;
        const int shift = std::max(0, text_width - inner);
        RECT box{padding - shift, 0, padding - shift + text_width, h};
        if (selected && !text.empty()) {
            const int line = std::min(h - 4, font.height + 4);
            const int top = (h - line) / 2;
            fill(px, w, clipped(RECT{box.left, top, box.right, top + line}, w, h), rgb565(0x00, 0x78, 0xD7));
        }
        if (!text.empty()) {
            RECT r = box;
            draw_text(target, text, r, font, selected ? selected_text_colour : text_colour,
                      DT_SINGLELINE | DT_VCENTER);
        }
        if (focused && !selected) {
            const int line = std::min(h - 8, font.height);
            const int top = (h - line) / 2;
            fill(px, w, clipped(RECT{box.right + 1, top, box.right + 1 + caret_width, top + line}, w, h),
                 0x0000);
        }
        const std::uint16_t border = focused ? rgb565(0x1A, 0x5F, 0xB4) : rgb565(0x80, 0x80, 0x80);
        for (int x = 0; x < w; ++x) {
            px[x] = border;
            px[(h - 1) * w + x] = border;
        }
        for (int y = 0; y < h; ++y) {
            px[y * w] = border;
            px[y * w + w - 1] = border;
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
        invalidate_window(hwnd);
        return 0;
    case WM_SETTEXT:
        remove_prop(hwnd, selection_prop);
        def_window_proc(hwnd, msg, wparam, lparam);
        invalidate_window(hwnd);
        return 1;
    case WM_SETFONT:
        set_window_font(hwnd, reinterpret_cast<const font_spec*>(wparam));
        if (lparam)
            invalidate_window(hwnd);
        return 0;
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
    case WM_DESTROY:
        set_window_font(hwnd, nullptr);
        return def_window_proc(hwnd, msg, wparam, lparam);
    default:
        return def_window_proc(hwnd, msg, wparam, lparam);
    }
}

} // namespace platform
