#pragma once

#include "ui/i_image.h"

#include <cstdint>
#include <vector>

namespace ui_impl {

// A decoded picture: RGB565 pixels in packed rows (stride = width, also for odd widths) and an alpha plane.
class gdi_image : public cl::ui::i_image {
public:
    gdi_image(int width, int height, std::vector<std::uint16_t> pixels, std::vector<std::uint8_t> alpha)
        : w(width), h(height), px(std::move(pixels)), a(std::move(alpha)) {}

    int width() const override { return w; }
    int height() const override { return h; }
    int memory_size() const override { return w * h * 3 + 32; }

    const std::uint16_t* pixels() const { return px.data(); }
    const std::uint8_t* alpha() const { return a.data(); }

private:
    int w;
    int h;
    std::vector<std::uint16_t> px;
    std::vector<std::uint8_t> a;
};

} // namespace ui_impl
