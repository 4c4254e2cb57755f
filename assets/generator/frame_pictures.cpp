// Pieces that compose the rounded cards: corners of rows and tabs, the framed card's border, the scroll
// bar's parts, the tick and open/closed boxes of option rows and the small row chevrons.

#include "catalogue.h"
#include "inputs.h"
#include "palette.h"
#include "shapes.h"

#include <cmath>

namespace assets {

namespace {

constexpr int corner = 8;

// One corner of a card of the given colour on the page grey: the card's rounded rectangle is placed so that
// only the wanted corner falls inside the picture.
painter card_corner(std::uint32_t card_rgb, int dx, int dy) {
    return [=](cairo_t* cr, int w, int h) {
        fill_all(cr, palette::page_grey);
        set_colour(cr, card_rgb);
        rounded_rect(cr, dx * w, dy * h, 2 * w, 2 * h, corner);
        cairo_fill(cr);
    };
}

// The framed card: a hairline edge, rounded corners and a faint shadow below, cut into nine pieces. Each
// piece is a 12 x 12 window onto a 36 x 36 card; edges repeat along their length.
constexpr int piece = 12;

void framed_card(cairo_t* cr) {
    fill_all(cr, palette::page_grey);
    // Shadow one pixel lower than the card, then the hairline, then the white face.
    set_colour(cr, 0x000000, 0.10);
    rounded_rect(cr, 2, 3, 32, 32, 8);
    cairo_fill(cr);
    set_colour(cr, palette::hairline);
    rounded_rect(cr, 2, 2, 32, 32, 8);
    cairo_fill(cr);
    set_colour(cr, palette::card);
    rounded_rect(cr, 3, 3, 30, 30, 7);
    cairo_fill(cr);
}

painter border_piece(int column, int row) {
    return [=](cairo_t* cr, int, int) {
        cairo_translate(cr, -column * piece, -row * piece);
        framed_card(cr);
    };
}

// Tick box of an option row; the selected forms sit on the focused row's red. A ticked box is charcoal on a
// white row, so that "on" never reads as "focused" (the focused row is the red one).
painter tick_box(bool ticked, bool selected) {
    return [=](cairo_t* cr, int w, int h) {
        const std::uint32_t row = selected ? palette::news_red : palette::card;
        const std::uint32_t line = selected ? palette::card : 0x8C8C8C;
        fill_all(cr, row);
        const double s = 26, x = (w - s) / 2, y = (h - s) / 2;
        if (ticked) {
            set_colour(cr, selected ? palette::card : palette::ink);
            rounded_rect(cr, x, y, s, s, 5);
            cairo_fill(cr);
            set_colour(cr, selected ? palette::news_red : palette::card);
            cairo_set_line_width(cr, 3.5);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_move_to(cr, x + 6.5, y + 13.5);
            cairo_line_to(cr, x + 11, y + 18.5);
            cairo_line_to(cr, x + 19.5, y + 8);
            cairo_stroke(cr);
        } else {
            set_colour(cr, line);
            rounded_rect(cr, x, y, s, s, 5);
            rounded_rect(cr, x + 2, y + 2, s - 4, s - 4, 3.5);
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
            cairo_fill(cr);
        }
    };
}

// Radio mark of a row in a group with one choice: a ring, with a dot in it when chosen.
painter radio_mark(bool chosen, bool selected) {
    return [=](cairo_t* cr, int w, int h) {
        fill_all(cr, selected ? palette::news_red : palette::card);
        const std::uint32_t ring = selected ? palette::card : chosen ? palette::ink : 0x8C8C8C;
        const double cx = w / 2.0, cy = h / 2.0;
        set_colour(cr, ring);
        cairo_set_line_width(cr, 2.5);
        cairo_arc(cr, cx, cy, 11.75, 0, 2 * M_PI);
        cairo_stroke(cr);
        if (chosen) {
            cairo_arc(cr, cx, cy, 6.5, 0, 2 * M_PI);
            cairo_fill(cr);
        }
    };
}

// Header box of an opening block: closed shows a plus, open a minus on a filled box.
painter block_box(bool open, bool selected) {
    return [=](cairo_t* cr, int w, int h) {
        const std::uint32_t row = selected ? palette::news_red : palette::card;
        fill_all(cr, row);
        const double s = 26, x = (w - s) / 2, y = (h - s) / 2;
        std::uint32_t mark;
        if (open) {
            set_colour(cr, selected ? palette::card : palette::news_red);
            rounded_rect(cr, x, y, s, s, 5);
            cairo_fill(cr);
            mark = selected ? palette::news_red : palette::card;
        } else {
            set_colour(cr, selected ? palette::card : 0x8C8C8C);
            rounded_rect(cr, x, y, s, s, 5);
            rounded_rect(cr, x + 2, y + 2, s - 4, s - 4, 3.5);
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
            cairo_fill(cr);
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
            mark = selected ? palette::card : palette::news_red;
        }
        set_colour(cr, mark);
        // Whole pixels: the box starts at 3 and is 26 wide, so its middle is the edge between 15 and 16.
        cairo_rectangle(cr, x + 7, y + 11, s - 14, 4);
        if (!open)
            cairo_rectangle(cr, x + 11, y + 7, 4, s - 14);
        cairo_fill(cr);
    };
}

painter row_chevron(direction d, std::uint32_t background, std::uint32_t ink) {
    return [=](cairo_t* cr, int w, int h) {
        fill_all(cr, background);
        set_colour(cr, ink);
        chevron(cr, 2, 2, w - 4, h - 4, d, 3);
    };
}

painter scroll_arrow(direction d) {
    return [=](cairo_t* cr, int w, int h) {
        fill_all(cr, palette::card);
        set_colour(cr, palette::thumb_red);
        triangle(cr, 0, 0, w, h, d);
    };
}

void scroll_handle(cairo_t* cr, int w, int h) {
    set_colour(cr, palette::thumb_red);
    rounded_rect(cr, 0, 0, w, h, w / 2.0);
    cairo_fill(cr);
    for (int i = -1; i <= 1; ++i)
        crisp_hline(cr, 2, w - 2, h / 2 + 4 * i, palette::card, 0.8);
}

} // namespace

void add_frame_pictures(catalogue& c) {
    c.add("top_left_corner", "corners/top_left_corner.png", corner, corner, card_corner(palette::card, 0, 0));
    c.add("top_right_corner", "corners/top_right_corner.png", corner, corner,
          card_corner(palette::card, -1, 0));
    c.add("bottom_right_corner", "corners/bottom_right_corner.png", corner, corner,
          card_corner(palette::card, -1, -1));
    c.add("bottom_left_corner", "corners/bottom_left_corner.png", corner, corner,
          card_corner(palette::card, 0, -1));
    c.add("focused_top_left_corner", "corners/focused_top_left_corner.png", corner, corner,
          card_corner(palette::news_red, 0, 0));
    c.add("focused_top_right_corner", "corners/focused_top_right_corner.png", corner, corner,
          card_corner(palette::news_red, -1, 0));
    c.add("focused_bottom_right_corner", "corners/focused_bottom_right_corner.png", corner, corner,
          card_corner(palette::news_red, -1, -1));
    c.add("focused_bottom_left_corner", "corners/focused_bottom_left_corner.png", corner, corner,
          card_corner(palette::news_red, 0, -1));

    c.add("left_border", "border/left_border.png", piece, piece, border_piece(0, 1));
    c.add("right_border", "border/right_border.png", piece, piece, border_piece(2, 1));
    c.add("top_border", "border/top_border.png", piece, piece, border_piece(1, 0));
    c.add("bottom_border", "border/bottom_border.png", piece, piece, border_piece(1, 2));
    c.add("left_top_border", "border/left_top_border.png", piece, piece, border_piece(0, 0));
    c.add("right_top_border", "border/right_top_border.png", piece, piece, border_piece(2, 0));
    c.add("left_bottom_border", "border/left_bottom_border.png", piece, piece, border_piece(0, 2));
    c.add("right_bottom_border", "border/right_bottom_border.png", piece, piece, border_piece(2, 2));

    c.add("top_arrow_10x5", "scroll/top_arrow_10x5.png", 10, 5, scroll_arrow(direction::up));
    c.add("bottom_arrow_10x5", "scroll/bottom_arrow_10x5.png", 10, 5, scroll_arrow(direction::down));
    c.add("scrollbar_slider", "scrollbar_handle.d.png", 10, 48, scroll_handle);

    c.add("settings_tickbox_on_selected", "settings_tickbox_on_selected.png", 32, 32, tick_box(true, true));
    c.add("settings_tickbox_on", "settings_tickbox_on.png", 32, 32, tick_box(true, false));
    c.add("settings_tickbox_off_selected", "settings_tickbox_off_selected.png", 32, 32,
          tick_box(false, true));
    c.add("settings_tickbox_off", "settings_tickbox_off.png", 32, 32, tick_box(false, false));
    c.add("settings_radio_on_selected", "settings_radio_on_selected.png", 32, 32, radio_mark(true, true));
    c.add("settings_radio_on", "settings_radio_on.png", 32, 32, radio_mark(true, false));
    c.add("settings_radio_off_selected", "settings_radio_off_selected.png", 32, 32, radio_mark(false, true));
    c.add("settings_radio_off", "settings_radio_off.png", 32, 32, radio_mark(false, false));
    c.add("checkbox_open_selected", "checkbox_open_selected.png", 32, 32, block_box(true, true));
    c.add("checkbox_open", "checkbox_open.png", 32, 32, block_box(true, false));
    c.add("checkbox_closed_selected", "checkbox_closed_selected.png", 32, 32, block_box(false, true));
    c.add("checkbox_closed", "checkbox_closed.png", 32, 32, block_box(false, false));

    c.add("arrow_left2", "arrow_left2.png", 14, 24,
          row_chevron(direction::left, palette::card, palette::soft_ink));
    c.add("arrow_right2", "arrow_right2.png", 14, 24,
          row_chevron(direction::right, palette::card, palette::soft_ink));
    c.add("arrow_right2_s", "arrow_right2_s.png", 14, 24,
          row_chevron(direction::right, palette::news_red, palette::card));
}

} // namespace assets
