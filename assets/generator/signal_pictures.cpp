// Pictures that point or warn: the bouncing arrows of the tab bar, the globe and map arrows, the warning
// and failed-picture signs and the enlarge mark over article pictures.

#include "catalogue.h"
#include "inputs.h"
#include "palette.h"
#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace assets {

namespace {

// A red chevron with a white rim, readable on white tabs and on the grey strip alike.
painter tab_arrow(direction d) {
    return [=](cairo_t* cr, int w, int h) {
        set_colour(cr, palette::card);
        chevron(cr, 2, 2, w - 4, h - 4, d, 8);
        set_colour(cr, palette::news_red);
        chevron(cr, 2, 2, w - 4, h - 4, d, 5);
    };
}

// A red pill with a white chevron and a soft shadow: it stays visible on the globe's grey and on any map.
painter globe_arrow(direction d) {
    return [=](cairo_t* cr, int w, int h) {
        const double radius = std::min(w, h) / 2.0 - 1;
        set_colour(cr, 0x000000, 0.22);
        rounded_rect(cr, 1, 2, w - 2, h - 2, radius);
        cairo_fill(cr);
        set_colour(cr, palette::news_red);
        rounded_rect(cr, 1, 1, w - 2, h - 2, radius);
        cairo_fill(cr);
        const bool flat = d == direction::up || d == direction::down;
        const double cw = flat ? 22 : 10, ch = flat ? 10 : 22;
        set_colour(cr, palette::card);
        chevron(cr, (w - cw) / 2, (h - ch) / 2, cw, ch, d, 3);
    };
}

void warning(cairo_t* cr, int w, int h) {
    // A rounded triangle with an exclamation mark drawn as a bar and a dot.
    const double m = 4;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 7);
    cairo_move_to(cr, w / 2.0, m);
    cairo_line_to(cr, w - m, h - m);
    cairo_line_to(cr, m, h - m);
    cairo_close_path(cr);
    set_colour(cr, palette::sun_orange);
    cairo_fill_preserve(cr);
    cairo_stroke(cr);
    set_colour(cr, palette::ink);
    rounded_rect(cr, w / 2.0 - 3, 18, 6, 20, 3);
    cairo_fill(cr);
    cairo_arc(cr, w / 2.0, 45, 3.5, 0, 2 * M_PI);
    cairo_fill(cr);
}

void failed_to_load(cairo_t* cr, int w, int h) {
    // A grey picture frame (hills and a sun) with a red badge and a white cross.
    set_colour(cr, palette::hairline);
    rounded_rect(cr, 2, 6, w - 10, h - 14, 6);
    cairo_fill(cr);
    set_colour(cr, 0xF1F1F1);
    rounded_rect(cr, 3, 7, w - 12, h - 16, 5);
    cairo_fill(cr);
    cairo_save(cr);
    rounded_rect(cr, 3, 7, w - 12, h - 16, 5);
    cairo_clip(cr);
    set_colour(cr, 0xB9B9B9);
    cairo_move_to(cr, 3, h - 14);
    cairo_line_to(cr, 20, 30);
    cairo_line_to(cr, 32, 42);
    cairo_line_to(cr, 40, 35);
    cairo_line_to(cr, w - 9, h - 14);
    cairo_line_to(cr, w - 9, h - 9);
    cairo_line_to(cr, 3, h - 9);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_arc(cr, 42, 20, 5, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_restore(cr);
    const double bx = w - 15, by = h - 15, br = 12;
    set_colour(cr, palette::card);
    cairo_arc(cr, bx, by, br + 2, 0, 2 * M_PI);
    cairo_fill(cr);
    set_colour(cr, palette::news_red);
    cairo_arc(cr, bx, by, br, 0, 2 * M_PI);
    cairo_fill(cr);
    set_colour(cr, palette::card);
    cairo_set_line_width(cr, 3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, bx - 5, by - 5);
    cairo_line_to(cr, bx + 5, by + 5);
    cairo_move_to(cr, bx + 5, by - 5);
    cairo_line_to(cr, bx - 5, by + 5);
    cairo_stroke(cr);
}

void enlarge_mark(cairo_t* cr, int w, int h) {
    // A magnifier with a plus on a red badge.
    set_colour(cr, 0x000000, 0.25);
    rounded_rect(cr, 1, 2, w - 2, h - 2, 7);
    cairo_fill(cr);
    set_colour(cr, palette::news_red);
    rounded_rect(cr, 0, 0, w - 2, h - 2, 7);
    cairo_fill(cr);
    const double cx = 15, cy = 15, r = 8;
    set_colour(cr, palette::card);
    cairo_set_line_width(cr, 2.5);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, cx + r * 0.75, cy + r * 0.75);
    cairo_line_to(cr, w - 9, h - 9);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_move_to(cr, cx - 4.5, cy);
    cairo_line_to(cr, cx + 4.5, cy);
    cairo_move_to(cr, cx, cy - 4.5);
    cairo_line_to(cr, cx, cy + 4.5);
    cairo_stroke(cr);
}

} // namespace

void add_signal_pictures(catalogue& c) {
    c.add("arrow_down", "arrow_down.png", 36, 20, tab_arrow(direction::down));
    c.add("arrow_left", "arrow_left.png", 20, 36, tab_arrow(direction::left));
    c.add("arrow_right", "arrow_right.png", 20, 36, tab_arrow(direction::right));
    c.add("arrow_up", "arrow_up.png", 36, 20, tab_arrow(direction::up));
    c.add("globe_arrow_right", "globe_arrow_right.a.png", 20, 56, globe_arrow(direction::right));
    c.add("globe_arrow_left", "globe_arrow_left.a.png", 20, 56, globe_arrow(direction::left));
    c.add("globe_arrow_up", "globe_arrow_up.a.png", 56, 20, globe_arrow(direction::up));
    c.add("globe_arrow_down", "globe_arrow_down.a.png", 56, 20, globe_arrow(direction::down));
    c.add("warning", "warning.png", 64, 56, warning);
    c.add("failed_to_load", "failed_to_load.png", 64, 64, failed_to_load);
    c.add("click_to_enlarge", "click_to_enlarge_full.c.png", 36, 36, enlarge_mark);
}

} // namespace assets
