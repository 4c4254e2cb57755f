#include "canvas.h"

#include <deque>
#include <stdexcept>

namespace assets {

bool rgba_image::opaque() const {
    for (std::size_t i = 3; i < rgba.size(); i += 4)
        if (rgba[i] != 255)
            return false;
    return true;
}

void rgba_image::bleed_into_transparent() {
    const std::size_t n = static_cast<std::size_t>(width) * height;
    std::vector<bool> done(n, false);
    std::deque<std::size_t> todo;
    for (std::size_t i = 0; i < n; ++i)
        if (rgba[i * 4 + 3] != 0) {
            done[i] = true;
            todo.push_back(i);
        }
    // Breadth first from the visible pixels: each transparent pixel copies the neighbour that reached it.
    while (!todo.empty()) {
        const std::size_t i = todo.front();
        todo.pop_front();
        const int x = static_cast<int>(i % width), y = static_cast<int>(i / width);
        const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
        for (const auto& p : next) {
            if (p[0] < 0 || p[0] >= width || p[1] < 0 || p[1] >= height)
                continue;
            const std::size_t j = static_cast<std::size_t>(p[1]) * width + p[0];
            if (done[j])
                continue;
            done[j] = true;
            for (int c = 0; c < 3; ++c)
                rgba[j * 4 + c] = rgba[i * 4 + c];
            todo.push_back(j);
        }
    }
}

canvas::canvas(int width, int height) : w(width), h(height) {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    context = cairo_create(surface_);
    if (cairo_status(context) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot create a drawing surface");
}

canvas::~canvas() {
    cairo_destroy(context);
    cairo_surface_destroy(surface_);
}

rgba_image canvas::pixels() const {
    cairo_surface_flush(surface_);
    rgba_image out;
    out.width = w;
    out.height = h;
    out.rgba.resize(static_cast<std::size_t>(w) * h * 4);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        std::uint8_t* dst = &out.rgba[static_cast<std::size_t>(y) * w * 4];
        for (int x = 0; x < w; ++x, dst += 4) {
            const std::uint32_t p = row[x];
            const unsigned a = p >> 24;
            unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            // Cairo keeps colours premultiplied; files want them straight.
            if (a != 0 && a != 255) {
                r = (r * 255 + a / 2) / a;
                g = (g * 255 + a / 2) / a;
                b = (b * 255 + a / 2) / a;
            }
            dst[0] = static_cast<std::uint8_t>(r > 255 ? 255 : r);
            dst[1] = static_cast<std::uint8_t>(g > 255 ? 255 : g);
            dst[2] = static_cast<std::uint8_t>(b > 255 ? 255 : b);
            dst[3] = static_cast<std::uint8_t>(a);
        }
    }
    return out;
}

} // namespace assets
