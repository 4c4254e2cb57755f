#pragma once

#include "platform/types.h"

#include <cstdint>
#include <vector>

namespace platform {

// What the screen shows: every visible top-level window's surface in stacking order, with each visible
// child composited over its parent and clipped to it. Black where no window is.
struct screen_image {
    int width = 0;
    int height = 0;
    std::vector<std::uint16_t> pixels; // RGB565, row by row
};

screen_image compose_screen();
// One window and its children, at the window's own size.
screen_image compose_window(HWND hwnd);

// 8-bit channels of an RGB565 pixel, with the low bits filled so that white stays white.
inline void rgb565_to_rgb888(std::uint16_t p, std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) {
    std::uint32_t r5 = (p >> 11) & 0x1F, g6 = (p >> 5) & 0x3F, b5 = p & 0x1F;
    r = static_cast<std::uint8_t>((r5 << 3) | (r5 >> 2));
    g = static_cast<std::uint8_t>((g6 << 2) | (g6 >> 4));
    b = static_cast<std::uint8_t>((b5 << 3) | (b5 >> 2));
}

inline std::uint16_t rgb565(int r, int g, int b) {
    return static_cast<std::uint16_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | ((b & 0xF8) >> 3));
}

} // namespace platform
