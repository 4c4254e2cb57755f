#pragma once

#include "platform/types.h"

namespace cl {
namespace ui {

class base_window {
public:
    base_window() = default;
    base_window(const base_window&) = delete;
    base_window& operator=(const base_window&) = delete;
    virtual ~base_window() = default;

    // Screen rectangle; empty when there is no window.
    virtual platform::RECT get_window_rect();
    virtual platform::RECT get_client_rect();
    virtual void move_to(const platform::RECT& r, bool repaint);

    platform::HWND get_hwnd() const { return hwnd; }

protected:
    platform::HWND hwnd = nullptr;
};

} // namespace ui
} // namespace cl
