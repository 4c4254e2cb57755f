#include "platform/input.h"

#include "platform/window_system.h"

#include <mutex>

namespace platform {

namespace {
std::mutex capture_mutex;
HWND capture = nullptr;

LPARAM client_point(HWND hwnd, int x, int y) {
    POINT p{x, y};
    screen_to_client(hwnd, p);
    return MAKELPARAM(p.x, p.y);
}
} // namespace

void pen_down(int screen_x, int screen_y) {
    HWND target = window_from_point(POINT{screen_x, screen_y});
    {
        std::lock_guard<std::mutex> lock(capture_mutex);
        capture = target;
    }
    if (target)
        post_message(target, WM_LBUTTONDOWN, 1, client_point(target, screen_x, screen_y));
}

void pen_move(int screen_x, int screen_y) {
    HWND target;
    {
        std::lock_guard<std::mutex> lock(capture_mutex);
        target = capture;
    }
    if (target && is_window(target))
        post_message(target, WM_MOUSEMOVE, 1, client_point(target, screen_x, screen_y));
}

void pen_up(int screen_x, int screen_y) {
    HWND target;
    {
        std::lock_guard<std::mutex> lock(capture_mutex);
        target = capture;
        capture = nullptr;
    }
    if (target && is_window(target))
        post_message(target, WM_LBUTTONUP, 0, client_point(target, screen_x, screen_y));
}

bool pen_is_down() {
    std::lock_guard<std::mutex> lock(capture_mutex);
    return capture != nullptr;
}

void key_down(int virtual_key) {
    if (HWND target = get_focus())
        post_message(target, WM_KEYDOWN, static_cast<WPARAM>(virtual_key), 1);
}

void key_up(int virtual_key) {
    if (HWND target = get_focus())
        post_message(target, WM_KEYUP, static_cast<WPARAM>(virtual_key), static_cast<LPARAM>(0xC0000001u));
}

void text_input(const std::wstring& text) {
    HWND target = get_focus();
    if (!target)
        return;
    for (wchar_t c : text)
        post_message(target, WM_CHAR, static_cast<WPARAM>(c), 1);
}

} // namespace platform
