// The home page's shortcuts, each with the word of what it opens: rows for the weather, the tip-line and
// video (normal and focused) as wide as a list row, the two landscape tiles of the 320-pixel column, and the
// tip-line emblem.

#include "catalogue.h"
#include "inputs.h"
#include "palette.h"
#include "shapes.h"

#include <cmath>

namespace assets {

namespace {

constexpr int row_width = 472; // a list row: the 480-pixel list less its 4-pixel margins
constexpr int row_height = 66;
constexpr int tile_width = 310; // the 320-pixel column less 5 pixels each side
// Two tiles and their 2-pixel gaps fit the 144 pixels the ticker leaves of a landscape page.
constexpr int tile_height = 70;

void sun_and_cloud(cairo_t* cr, double cx, double cy, double s, std::uint32_t sun_rgb,
                   std::uint32_t cloud_rgb, std::uint32_t edge) {
    set_colour(cr, sun_rgb);
    cairo_set_line_width(cr, 2 * s);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double sx = cx + 4 * s, sy = cy - 4 * s, r = 7 * s;
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        cairo_move_to(cr, sx + std::cos(a) * r * 1.4, sy + std::sin(a) * r * 1.4);
        cairo_line_to(cr, sx + std::cos(a) * r * 1.8, sy + std::sin(a) * r * 1.8);
    }
    cairo_stroke(cr);
    cairo_arc(cr, sx, sy, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cloud(cr, cx - 14 * s, cy - 2 * s, 26 * s, 15.6 * s, cloud_rgb, edge, edge == cloud_rgb ? 0 : 1.5 * s);
}

void camera(cairo_t* cr, double cx, double cy, double s, std::uint32_t body, std::uint32_t lens) {
    set_colour(cr, body);
    rounded_rect(cr, cx - 13 * s, cy - 8 * s, 26 * s, 18 * s, 3.5 * s);
    cairo_fill(cr);
    rounded_rect(cr, cx - 5 * s, cy - 12 * s, 10 * s, 6 * s, 1.5 * s);
    cairo_fill(cr);
    set_colour(cr, lens);
    cairo_arc(cr, cx, cy + 1 * s, 6.2 * s, 0, 2 * M_PI);
    cairo_fill(cr);
    set_colour(cr, body);
    cairo_arc(cr, cx, cy + 1 * s, 3.6 * s, 0, 2 * M_PI);
    cairo_fill(cr);
}

// Broadcast arcs to the right of a point.
void waves(cairo_t* cr, double x, double y, double s, std::uint32_t rgb, double alpha) {
    set_colour(cr, rgb, alpha);
    cairo_set_line_width(cr, 2.2 * s);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 1; i <= 3; ++i) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, x, y, 5.5 * s * i, -M_PI / 4, M_PI / 4);
    }
    cairo_stroke(cr);
}

void play(cairo_t* cr, double cx, double cy, double s, std::uint32_t rgb) {
    set_colour(cr, rgb);
    cairo_move_to(cr, cx - 5 * s, cy - 8 * s);
    cairo_line_to(cr, cx + 9 * s, cy);
    cairo_line_to(cr, cx - 5 * s, cy + 8 * s);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// A newspaper: folded page with a picture block and text lines.
void newspaper(cairo_t* cr, double x, double y, double s, std::uint32_t paper, std::uint32_t ink) {
    set_colour(cr, paper);
    rounded_rect(cr, x, y, 30 * s, 24 * s, 2.5 * s);
    cairo_fill(cr);
    set_colour(cr, ink);
    cairo_rectangle(cr, x + 4 * s, y + 4 * s, 10 * s, 8 * s);
    cairo_fill(cr);
    for (int i = 0; i < 3; ++i) {
        cairo_rectangle(cr, x + 17 * s, y + (4 + 3.5 * i) * s, 9 * s, 1.6 * s);
        cairo_rectangle(cr, x + 4 * s, y + (15 + 3 * i) * s, 22 * s, 1.6 * s);
    }
    cairo_fill(cr);
}

struct row_look {
    std::uint32_t face;   // card colour
    std::uint32_t badge;  // circle behind the emblem
    std::uint32_t emblem; // emblem colour
    std::uint32_t detail; // illustration colour
    std::uint32_t arrow;
    std::uint32_t word;
};

row_look look_for(bool focused, std::uint32_t accent) {
    if (focused)
        return {palette::news_red, palette::card, accent, palette::card, palette::card, palette::card};
    return {palette::card, accent, palette::card, accent, palette::soft_ink, palette::ink};
}

constexpr double word_size = 25;
constexpr double word_left = 76;
constexpr double detail_left = 222; // the illustration runs from here to the chevron

// A row card on the list's grey: emblem badge on the left, the word of what it opens, a small illustration,
// a chevron on the right.
void row_card(cairo_t* cr, int w, int h, const row_look& look, const text_painter& text, const char* word) {
    fill_all(cr, palette::list_grey);
    set_colour(cr, look.face);
    rounded_rect(cr, 0, 0, w, h, 8);
    cairo_fill(cr);
    set_colour(cr, look.badge);
    cairo_arc(cr, 38, h / 2.0, 24, 0, 2 * M_PI);
    cairo_fill(cr);
    set_colour(cr, look.arrow);
    chevron(cr, w - 28, h / 2.0 - 11, 12, 22, direction::right, 3);
    text.draw_centred(cr, word, {word_left, 0, static_cast<double>(text.width(word, word_size)), double(h)},
                      word_size, look.word);
}

painter weather_row(bool focused, const text_painter& text) {
    return [=, &text](cairo_t* cr, int w, int h) {
        const row_look look = look_for(focused, palette::weather_cyan);
        row_card(cr, w, h, look, text, "Weather");
        sun_and_cloud(cr, 37, h / 2.0 + 2, 1.0, look.emblem, look.emblem, look.emblem);
        // A five-day strip: small suns and clouds above bars of different heights.
        const double base = h - 10.0;
        const double bars[5] = {12, 18, 8, 14, 20};
        for (int i = 0; i < 5; ++i) {
            const double x = detail_left + 14 + i * 40;
            set_colour(cr, look.detail, 0.45);
            rounded_rect(cr, x - 5, base - bars[i], 10, bars[i], 3);
            cairo_fill(cr);
            const double top = base - bars[i] - 14;
            if (i % 2 == 0)
                sun_and_cloud(cr, x - 1, top, 0.6, look.detail, look.detail, look.detail);
            else
                cloud(cr, x - 10, top - 8, 20, 12, look.detail, look.detail, 0);
        }
    };
}

painter tipline_row(bool focused, const text_painter& text) {
    return [=, &text](cairo_t* cr, int w, int h) {
        const row_look look = look_for(focused, palette::tipline_orange);
        row_card(cr, w, h, look, text, "Tip-Line");
        camera(cr, 38, h / 2.0 + 1, 1.0, look.emblem, look.badge);
        // Camera to news desk: waves, a dotted path and the paper.
        camera(cr, detail_left + 14, h / 2.0, 0.7, look.detail, look.face);
        waves(cr, detail_left + 26, h / 2.0, 0.8, look.detail, 1.0);
        set_colour(cr, look.detail);
        for (int i = 0; i < 7; ++i) {
            cairo_arc(cr, detail_left + 56 + i * 12, h / 2.0, 2, 0, 2 * M_PI);
            cairo_fill(cr);
        }
        newspaper(cr, detail_left + 146, h / 2.0 - 10, 0.85, look.detail, look.face);
    };
}

painter video_row(bool focused, const text_painter& text) {
    return [=, &text](cairo_t* cr, int w, int h) {
        const row_look look = focused ? row_look{palette::news_red, palette::card, palette::news_red,
                                                 palette::card,     palette::card, palette::card}
                                      : look_for(false, palette::news_red);
        row_card(cr, w, h, look, text, "Video");
        play(cr, 39, h / 2.0, 1.1, look.emblem);
        // A film strip.
        set_colour(cr, look.detail);
        rounded_rect(cr, detail_left, h / 2.0 - 16, 190, 32, 4);
        cairo_fill(cr);
        set_colour(cr, look.face);
        for (int i = 0; i < 10; ++i) {
            cairo_rectangle(cr, detail_left + 6 + i * 18.5, h / 2.0 - 13, 9, 4);
            cairo_rectangle(cr, detail_left + 6 + i * 18.5, h / 2.0 + 9, 9, 4);
        }
        for (int i = 0; i < 3; ++i)
            cairo_rectangle(cr, detail_left + 8 + i * 61, h / 2.0 - 6, 52, 12);
        cairo_fill(cr);
    };
}

void tile_background(cairo_t* cr, int w, int h, std::uint32_t top, std::uint32_t bottom) {
    fill_all(cr, palette::page_grey);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgb(p, 0, ((top >> 16) & 0xFF) / 255.0, ((top >> 8) & 0xFF) / 255.0,
                                     (top & 0xFF) / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, ((bottom >> 16) & 0xFF) / 255.0, ((bottom >> 8) & 0xFF) / 255.0,
                                     (bottom & 0xFF) / 255.0);
    cairo_set_source(cr, p);
    rounded_rect(cr, 0, 0, w, h, 8);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

// The tile's word in white, with a faint shadow so that it reads on the light end of the gradient.
void tile_word(cairo_t* cr, const text_painter& text, const char* word, double x, int h) {
    const double size = 28;
    const box where{x, 0, static_cast<double>(text.width(word, size)), double(h)};
    cairo_push_group(cr);
    text.draw_centred(cr, word, {where.x + 1, where.y + 2, where.w, where.h}, size, 0x000000);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, 0.3);
    text.draw_centred(cr, word, where, size, palette::card);
}

painter weather_tile(const text_painter& text) {
    return [&text](cairo_t* cr, int w, int h) {
        tile_background(cr, w, h, 0x1FA9C4, 0x6FD8EA);
        cairo_save(cr);
        rounded_rect(cr, 0, 0, w, h, 8);
        cairo_clip(cr);
        // Rolling hills in two shades.
        set_colour(cr, 0xFFFFFF, 0.22);
        cairo_move_to(cr, 0, h - 18);
        cairo_curve_to(cr, 70, h - 42, 150, h - 6, 230, h - 30);
        cairo_curve_to(cr, 270, h - 40, 300, h - 30, w, h - 34);
        cairo_line_to(cr, w, h);
        cairo_line_to(cr, 0, h);
        cairo_close_path(cr);
        cairo_fill(cr);
        set_colour(cr, 0xFFFFFF, 0.35);
        cairo_move_to(cr, 0, h - 8);
        cairo_curve_to(cr, 90, h - 24, 180, h + 2, w, h - 16);
        cairo_line_to(cr, w, h);
        cairo_line_to(cr, 0, h);
        cairo_close_path(cr);
        cairo_fill(cr);
        cairo_restore(cr);
        sun_and_cloud(cr, 52, h / 2.0 + 1, 1.7, palette::sun_yellow, palette::cloud_white,
                      palette::cloud_edge);
        cloud(cr, 236, h * 0.16, 34, 20, palette::cloud_white, 0xFFFFFF, 0);
        tile_word(cr, text, "Weather", 104, h);
        set_colour(cr, palette::card);
        chevron(cr, w - 26, h / 2.0 - 12, 12, 24, direction::right, 3);
    };
}

painter tipline_tile(const text_painter& text) {
    return [&text](cairo_t* cr, int w, int h) {
        tile_background(cr, w, h, 0xF07A00, 0xFFA545);
        camera(cr, 44, h / 2.0 + 2, 1.6, palette::card, 0xF28A1A);
        waves(cr, 68, h / 2.0, 1.2, palette::card, 0.9);
        tile_word(cr, text, "Tip-Line", 104, h);
        set_colour(cr, palette::card);
        chevron(cr, w - 26, h / 2.0 - 12, 12, 24, direction::right, 3);
    };
}

void tipline_emblem(cairo_t* cr, int w, int h) {
    set_colour(cr, palette::tipline_orange);
    cairo_arc(cr, w / 2.0, h / 2.0, w / 2.0 - 1, 0, 2 * M_PI);
    cairo_fill(cr);
    camera(cr, w / 2.0 - 8, h / 2.0 + 2, 1.6, palette::card, palette::tipline_orange);
    waves(cr, w / 2.0 + 16, h / 2.0, 1.2, palette::card, 1.0);
}

} // namespace

void add_shortcut_pictures(catalogue& c, const inputs& in) {
    const text_painter& text = in.text;
    c.add("tipline", "tipline.png", 96, 96, tipline_emblem);
    c.add("tipline_link", "tipline_link.png", row_width, row_height, tipline_row(false, text));
    c.add("tipline_link_sel", "tipline_link_sel.png", row_width, row_height, tipline_row(true, text));
    c.add("video_link", "video_link.png", row_width, row_height, video_row(false, text));
    c.add("video_link_sel", "video_link_sel.png", row_width, row_height, video_row(true, text));
    c.add("weather_link", "weather_link.png", row_width, row_height, weather_row(false, text));
    c.add("weather_link_sel", "weather_link_sel.png", row_width, row_height, weather_row(true, text));
    c.add_landscape_only("home_tipline", "landscape/home_tipline.png", tile_width, tile_height,
                         tipline_tile(text));
    c.add_landscape_only("home_weather", "landscape/home_weather.png", tile_width, tile_height,
                         weather_tile(text));
}

} // namespace assets
