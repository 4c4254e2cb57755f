#include "canvas.h"

#include <stdexcept>

namespace assets {

bool rgba_image::opaque() const {
    for (std::size_t i = 3; i < rgba.size(); i += 4)
        if (rgba[i] != 255)
            return false;
    return true;
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
