#pragma once

#include <cairo.h>
#include <cstdint>

// Small drawing helpers shared by the painters: colours, rounded rectangles, chevrons, crisp lines.
namespace assets {

void set_colour(cairo_t* cr, std::uint32_t rgb, double alpha = 1.0);
void fill_all(cairo_t* cr, std::uint32_t rgb);
void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double radius);
// A 1-pixel line that covers whole pixels: the coordinates are pixel edges.
void crisp_hline(cairo_t* cr, int x0, int x1, int y, std::uint32_t rgb, double alpha = 1.0);
void crisp_vline(cairo_t* cr, int x, int y0, int y1, std::uint32_t rgb, double alpha = 1.0);

enum class direction { left, right, up, down };
// A chevron ("<", ">", "^", "v") of the given stroke inside the box, drawn with round caps.
void chevron(cairo_t* cr, double x, double y, double w, double h, direction d, double stroke);
// A filled triangle pointing in the direction, filling the box.
void triangle(cairo_t* cr, double x, double y, double w, double h, direction d);

// A flat cloud filling the box (x, y, w, h): a union of round puffs on a flat base, with an outline of the
// given width around the union only.
void cloud(cairo_t* cr, double x, double y, double w, double h, std::uint32_t fill, std::uint32_t edge,
           double edge_width);

// A soft shadow: an ellipse whose alpha fades from the centre outwards.
void soft_ellipse(cairo_t* cr, double cx, double cy, double rx, double ry, std::uint32_t rgb, double alpha);

} // namespace assets
