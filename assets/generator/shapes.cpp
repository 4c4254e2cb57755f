#include "shapes.h"

#include <cmath>

namespace assets {

void set_colour(cairo_t* cr, std::uint32_t rgb, double alpha) {
    cairo_set_source_rgba(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0,
                          alpha);
}

void fill_all(cairo_t* cr, std::uint32_t rgb) {
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    set_colour(cr, rgb);
    cairo_paint(cr);
    cairo_restore(cr);
}

void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r) {
    const double pi = M_PI;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
    cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
    cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

void crisp_hline(cairo_t* cr, int x0, int x1, int y, std::uint32_t rgb, double alpha) {
    set_colour(cr, rgb, alpha);
    cairo_rectangle(cr, x0, y, x1 - x0, 1);
    cairo_fill(cr);
}

void crisp_vline(cairo_t* cr, int x, int y0, int y1, std::uint32_t rgb, double alpha) {
    set_colour(cr, rgb, alpha);
    cairo_rectangle(cr, x, y0, 1, y1 - y0);
    cairo_fill(cr);
}

void chevron(cairo_t* cr, double x, double y, double w, double h, direction d, double stroke) {
    const double m = stroke / 2 + 0.5;
    cairo_save(cr);
    cairo_set_line_width(cr, stroke);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    switch (d) {
    case direction::left:
        cairo_move_to(cr, x + w - m, y + m);
        cairo_line_to(cr, x + m, y + h / 2);
        cairo_line_to(cr, x + w - m, y + h - m);
        break;
    case direction::right:
        cairo_move_to(cr, x + m, y + m);
        cairo_line_to(cr, x + w - m, y + h / 2);
        cairo_line_to(cr, x + m, y + h - m);
        break;
    case direction::up:
        cairo_move_to(cr, x + m, y + h - m);
        cairo_line_to(cr, x + w / 2, y + m);
        cairo_line_to(cr, x + w - m, y + h - m);
        break;
    case direction::down:
        cairo_move_to(cr, x + m, y + m);
        cairo_line_to(cr, x + w / 2, y + h - m);
        cairo_line_to(cr, x + w - m, y + m);
        break;
    }
    cairo_stroke(cr);
    cairo_restore(cr);
}

void triangle(cairo_t* cr, double x, double y, double w, double h, direction d) {
    switch (d) {
    case direction::left:
        cairo_move_to(cr, x + w, y);
        cairo_line_to(cr, x, y + h / 2);
        cairo_line_to(cr, x + w, y + h);
        break;
    case direction::right:
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + w, y + h / 2);
        cairo_line_to(cr, x, y + h);
        break;
    case direction::up:
        cairo_move_to(cr, x, y + h);
        cairo_line_to(cr, x + w / 2, y);
        cairo_line_to(cr, x + w, y + h);
        break;
    case direction::down:
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + w / 2, y + h);
        cairo_line_to(cr, x + w, y);
        break;
    }
    cairo_close_path(cr);
    cairo_fill(cr);
}

namespace {

// The puffs of a 100 x 60 cloud: centre and radius.
struct puff {
    double x, y, r;
};
constexpr puff puffs[] = {{20, 42, 18}, {42, 28, 20}, {66, 24, 24}, {84, 42, 16}};

void cloud_union(cairo_t* cr, double x, double y, double sx, double sy, double grow) {
    for (const puff& p : puffs) {
        cairo_new_sub_path(cr);
        cairo_save(cr);
        cairo_translate(cr, x + p.x * sx, y + p.y * sy);
        cairo_scale(cr, sx, sy);
        cairo_arc(cr, 0, 0, p.r + grow / sx, 0, 2 * M_PI);
        cairo_restore(cr);
    }
    // The flat base joins the puffs.
    const double g = grow;
    rounded_rect(cr, x + 20 * sx - g, y + 36 * sy - g, 64 * sx + 2 * g, 24 * sy + 2 * g, 0.01 + g);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

} // namespace

void cloud(cairo_t* cr, double x, double y, double w, double h, std::uint32_t fill, std::uint32_t edge,
           double edge_width) {
    // Drawn inside the box: the outline takes the outer edge_width pixels.
    const double ix = x + edge_width, iy = y + edge_width;
    const double isx = (w - 2 * edge_width) / 100.0, isy = (h - 2 * edge_width) / 60.0;
    cairo_save(cr);
    if (edge_width > 0) {
        cloud_union(cr, ix, iy, isx, isy, edge_width);
        set_colour(cr, edge);
        cairo_fill(cr);
    }
    cloud_union(cr, ix, iy, isx, isy, 0);
    set_colour(cr, fill);
    cairo_fill(cr);
    cairo_restore(cr);
}

void soft_ellipse(cairo_t* cr, double cx, double cy, double rx, double ry, std::uint32_t rgb, double alpha) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    const double r = ((rgb >> 16) & 0xFF) / 255.0, g = ((rgb >> 8) & 0xFF) / 255.0, b = (rgb & 0xFF) / 255.0;
    cairo_pattern_add_color_stop_rgba(p, 0, r, g, b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 0.6, r, g, b, alpha * 0.55);
    cairo_pattern_add_color_stop_rgba(p, 1, r, g, b, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}

} // namespace assets
