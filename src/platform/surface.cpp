#include "platform/surface.h"

#include <algorithm>
#include <atomic>

namespace platform {

namespace {
std::atomic<std::uint64_t> generation{1};

int clamp_size(int v) {
    return std::max(0, std::min(v, 8192));
}
} // namespace

window_surface::window_surface(int width, int height)
    : w(clamp_size(width)), h(clamp_size(height)), px(static_cast<std::size_t>(w) * h, 0) {}

void window_surface::fill(std::uint16_t colour) {
    std::fill(px.begin(), px.end(), colour);
}

void window_surface::resize(int width, int height) {
    width = clamp_size(width);
    height = clamp_size(height);
    std::lock_guard<std::mutex> lock(m);
    if (width == w && height == h)
        return;
    std::vector<std::uint16_t> next(static_cast<std::size_t>(width) * height, 0);
    int cw = std::min(w, width), ch = std::min(h, height);
    for (int y = 0; y < ch; ++y)
        std::copy_n(px.begin() + static_cast<std::ptrdiff_t>(y) * w, cw,
                    next.begin() + static_cast<std::ptrdiff_t>(y) * width);
    px.swap(next);
    w = width;
    h = height;
    bump_screen_generation();
}

void window_surface::touch(change what) {
    if (what == change::content)
        changes.fetch_add(1);
    bump_screen_generation();
}

std::uint64_t screen_generation() {
    return generation.load();
}
void bump_screen_generation() {
    generation.fetch_add(1);
}

} // namespace platform
