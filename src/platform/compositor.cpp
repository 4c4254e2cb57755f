#include "platform/compositor.h"

#include "platform/window_system.h"

#include <algorithm>

namespace platform {

namespace {

// Draws the window at (ox, oy) of the target, clipped to clip (target coordinates).
void draw_tree(HWND hwnd, screen_image& target, int ox, int oy, RECT clip) {
    if (!is_window_visible(hwnd))
        return;
    RECT client = get_client_rect(hwnd);
    RECT area{std::max(clip.left, ox), std::max(clip.top, oy), std::min(clip.right, ox + client.right),
              std::min(clip.bottom, oy + client.bottom)};
    if (area.left >= area.right || area.top >= area.bottom)
        return;
    if (auto surface = get_window_surface(hwnd)) {
        std::lock_guard<std::mutex> lock(surface->mutex());
        int w = std::min(surface->width(), area.right - ox);
        int h = std::min(surface->height(), area.bottom - oy);
        for (int y = area.top - oy; y < h; ++y) {
            int x0 = area.left - ox;
            if (x0 >= w)
                break;
            const std::uint16_t* src =
                surface->pixels() + static_cast<std::ptrdiff_t>(y) * surface->width() + x0;
            std::uint16_t* dst =
                target.pixels.data() + static_cast<std::ptrdiff_t>(oy + y) * target.width + ox + x0;
            std::copy_n(src, w - x0, dst);
        }
    }
    for (HWND child : get_children(hwnd)) {
        RECT r = get_window_rect(child);
        RECT parent = get_window_rect(hwnd);
        draw_tree(child, target, ox + (r.left - parent.left), oy + (r.top - parent.top), area);
    }
}

} // namespace

screen_image compose_screen() {
    screen_image image;
    image.width = get_system_metrics(SM_CXSCREEN);
    image.height = get_system_metrics(SM_CYSCREEN);
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 0);
    for (HWND top : top_level_windows()) {
        RECT r = get_window_rect(top);
        draw_tree(top, image, r.left, r.top, RECT{0, 0, image.width, image.height});
    }
    return image;
}

screen_image compose_window(HWND hwnd) {
    screen_image image;
    RECT client = get_client_rect(hwnd);
    image.width = client.right;
    image.height = client.bottom;
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 0);
    draw_tree(hwnd, image, 0, 0, client);
    return image;
}

} // namespace platform
