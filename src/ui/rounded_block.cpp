#include "ui/rounded_block.h"

#include "ui/gdi_graphics.h"
#include "ui/gdi_image.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <tuple>

namespace cl {
namespace ui {

namespace {

constexpr int samples = 4; // per side of a pixel, for the edge's coverage

// How much of the pixel (x, y) the rounded w x h block covers, 0-255.
std::uint8_t coverage(int x, int y, int w, int h, double radius) {
    int inside = 0;
    for (int sy = 0; sy < samples; ++sy)
        for (int sx = 0; sx < samples; ++sx) {
            const double px = x + (sx + 0.5) / samples, py = y + (sy + 0.5) / samples;
            const double cx = std::clamp(px, radius, w - radius), cy = std::clamp(py, radius, h - radius);
            inside += std::hypot(px - cx, py - cy) <= radius ? 1 : 0;
        }
    return static_cast<std::uint8_t>(inside * 255 / (samples * samples));
}

} // namespace

image_ptr rounded_block(platform::COLORREF colour, int width, int height, int radius) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    radius = std::clamp(radius, 0, std::min(width, height) / 2);
    static std::mutex lock;
    static std::map<std::tuple<platform::COLORREF, int, int, int>, image_ptr> made;
    const std::lock_guard<std::mutex> held(lock);
    image_ptr& image = made[std::make_tuple(colour, width, height, radius)];
    if (!image) {
        const auto n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        std::vector<std::uint16_t> pixels(n, ui_impl::to_rgb565(colour));
        std::vector<std::uint8_t> alpha(n);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                alpha[static_cast<std::size_t>(y) * width + x] = coverage(x, y, width, height, radius);
        image.reset(new ui_impl::gdi_image(width, height, std::move(pixels), std::move(alpha)));
    }
    return image;
}

} // namespace ui
} // namespace cl
