#pragma once

#include "picture_files.h"

#include <cairo.h>
#include <cstdint>
#include <functional>

namespace assets {

struct rgba {
    double r, g, b, a; // 0..1, straight
};

// Fills the rectangle pixel by pixel: colour(x, y) gets the pixel's centre in picture coordinates.
void paint_pixels(cairo_t* cr, int x0, int y0, int w, int h,
                  const std::function<rgba(double x, double y)>& colour);

// The Blue Marble colour at a longitude and latitude (degrees), bilinear.
rgba earth_colour(const rgb_image& earth, double longitude, double latitude);

// The earth as seen from space, centred on (longitude, latitude), lit from the upper left, with a thin
// atmosphere at the limb; the disc's edge is antialiased.
void paint_globe(cairo_t* cr, const rgb_image& earth, double cx, double cy, double radius, double longitude,
                 double latitude);

} // namespace assets
