#pragma once

#include "platform/types.h"

// The phone shell's activation bookkeeping has no counterpart on the desktop; kept as markers.
namespace platform {

struct SHACTIVATEINFO {
    DWORD cbSize = 0;
    HWND hwndLastFocus = nullptr;
    UINT flags = 0;
};

inline bool sh_handle_wm_activate(HWND, WPARAM, LPARAM, SHACTIVATEINFO*, DWORD) {
    return true;
}

// Brushes are only handed back to the window system, which never paints with them.
using HBRUSH = std::uintptr_t;
constexpr HBRUSH black_brush = 4;

} // namespace platform
