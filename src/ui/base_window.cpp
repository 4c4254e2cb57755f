#include "ui/base_window.h"

#include "platform/window_system.h"

namespace cl {
namespace ui {

platform::RECT base_window::get_window_rect() {
    return hwnd ? platform::get_window_rect(hwnd) : platform::RECT{};
}

platform::RECT base_window::get_client_rect() {
    return get_window_rect();
}

void base_window::move_to(const platform::RECT& r, bool repaint) {
    if (hwnd)
        platform::move_window(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, repaint);
}

} // namespace ui
} // namespace cl
