#pragma once

#include <cairo.h>
#include <cstdint>
#include <string>
#include <vector>

namespace assets {

// Straight (not premultiplied) RGBA pixels, rows packed.
struct rgba_image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
    bool opaque() const;
    // Gives every fully transparent pixel the colour of the nearest visible one, so that a picture copied
    // without its alpha shows a clean shape instead of black corners.
    void bleed_into_transparent();
};

// A Cairo drawing surface of one picture; what is drawn is read back as straight RGBA.
class canvas {
public:
    canvas(int width, int height);
    ~canvas();
    canvas(const canvas&) = delete;
    canvas& operator=(const canvas&) = delete;

    cairo_t* cr() const { return context; }
    cairo_surface_t* surface() const { return surface_; }
    int width() const { return w; }
    int height() const { return h; }
    rgba_image pixels() const;

private:
    int w;
    int h;
    cairo_surface_t* surface_;
    cairo_t* context;
};

} // namespace assets
