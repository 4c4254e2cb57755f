#pragma once

#include "platform/types.h"

#include <cstdint>

namespace ui_impl {

// An RGB565 destination with its stride in pixels.
struct blend_target {
    std::uint16_t* pixels;
    int width;
    int height;
    int stride;
};

// Composes packed RGB565 pixels with their alpha plane onto the target. The picture's top-left pixel lands at
// (place.left, place.top) and its width is place.right - place.left. Only pixels inside the target and inside
// clip (when given) change. A global alpha scales the plane through a 256-entry table; per channel the result
// is d + (((s - d) * (a + 1) + 128) >> 8), a fully opaque pixel is copied and a transparent one skipped.
void alpha_blend(const blend_target& target, const std::uint16_t* pixels, const std::uint8_t* alpha,
                 const platform::RECT& place, const platform::RECT* clip, unsigned char global_alpha);

// One pixel of the rule above, for tests and for reference.
std::uint16_t blend_pixel(std::uint16_t d, std::uint16_t s, unsigned a);

} // namespace ui_impl
