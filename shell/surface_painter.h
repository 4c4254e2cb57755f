#pragma once

#include "platform/surface.h"

#include <cairo.h>
#include <cstdint>
#include <string>

namespace shell {

// The home screen's own drawing on a window surface: smooth shapes through Cairo on the surface's RGB565
// pixels, and text in the system's faces through the platform's text renderer. The caller holds the
// surface's lock for the painter's life.
class surface_painter {
public:
    explicit surface_painter(platform::window_surface& surface);
    ~surface_painter();
    surface_painter(const surface_painter&) = delete;
    surface_painter& operator=(const surface_painter&) = delete;

    cairo_t* cr() const { return context; }
    int width() const { return w; }
    int height() const { return h; }

    void colour(std::uint32_t rgb, double alpha = 1.0);
    void fill_rect(double x, double y, double width, double height, std::uint32_t rgb);
    // A rectangle with rounded corners as the current path, to fill or stroke.
    void rounded_path(double x, double y, double width, double height, double radius);
    void fill_rounded(double x, double y, double width, double height, double radius, std::uint32_t rgb);

    struct font {
        double pixels; // the face's size
        bool bold;
    };
    // One line of UTF-8 text centred in the box (left-aligned with centred = false).
    void text(const std::string& utf8, int x, int y, int width, int height, font f, std::uint32_t rgb,
              bool centred = true);

private:
    std::uint16_t* pixels;
    int w;
    int h;
    cairo_surface_t* target;
    cairo_t* context;
};

} // namespace shell
