#pragma once

#include "platform/window_system.h"
#include "ui/base_window.h"

// A visible top-level window of the given height under the home screen's top bar, for a graphics back-end
// to draw into.
struct bench_window : cl::ui::base_window {
    explicit bench_window(int height) {
        using namespace platform;
        window_class cls;
        cls.proc = [](HWND h, UINT m, WPARAM w, LPARAM l) { return def_window_proc(h, m, w, l); };
        cls.name = L"BENCH";
        register_class(cls);
        hwnd = create_window(0, L"BENCH", L"", WS_VISIBLE, 0, 52, 480, height, nullptr, nullptr);
    }
};
