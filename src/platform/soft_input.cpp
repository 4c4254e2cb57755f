#include "platform/soft_input.h"

#include "platform/window_system.h"

namespace platform {

const wchar_t* const soft_input_class = L"SipWndClass";

bool soft_input_rect(RECT& out) {
    HWND sip = find_window(soft_input_class, nullptr);
    if (!sip)
        return false;
    out = get_window_rect(sip);
    return true;
}

bool set_soft_input_rect(const RECT& r) {
    HWND sip = find_window(soft_input_class, nullptr);
    return sip && move_window(sip, r.left, r.top, r.right - r.left, r.bottom - r.top, true);
}

void show_soft_input(bool show) {
    if (HWND sip = find_window(soft_input_class, nullptr))
        show_window(sip, show ? SW_SHOW : SW_HIDE);
}

} // namespace platform
