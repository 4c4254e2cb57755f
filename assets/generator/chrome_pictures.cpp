// The page frame: header bar with the logo, the strip behind the tabs, the footer with the category links,
// the page background, the divider and the inner shadow, each for portrait and landscape.

#include "catalogue.h"
#include "inputs.h"
#include "palette.h"
#include "shapes.h"

#include <cmath>
#include <stdexcept>

namespace assets {

namespace {

constexpr int portrait_width = 480;
constexpr int landscape_width = 800;
constexpr int header_height = 56;
constexpr int tab_strip_height = 50;
constexpr int portrait_footer_height = 50;
constexpr int landscape_footer_height = 34;
// The panel's client area: the screen less the host's 52-pixel top bar.
constexpr int portrait_client_height = 748;
constexpr int landscape_client_height = 428;

// The logo: a white globe mark and three headline bars, inside the header's logo area (4, 4)-(95, 52).
void logo(cairo_t* cr) {
    const double cx = 28, cy = 28, r = 20;
    set_colour(cr, palette::card);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_fill(cr);
    set_colour(cr, palette::news_red);
    cairo_set_line_width(cr, 2.2);
    cairo_arc(cr, cx, cy, r - 4.5, 0, 2 * M_PI);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 0.45, 1.0);
    cairo_arc(cr, 0, 0, r - 4.5, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_stroke(cr);
    cairo_move_to(cr, cx, cy - r + 4.5);
    cairo_line_to(cr, cx, cy + r - 4.5);
    cairo_move_to(cr, cx - r + 4.5, cy);
    cairo_line_to(cr, cx + r - 4.5, cy);
    cairo_stroke(cr);
    // Headline bars, longest first.
    set_colour(cr, palette::card);
    const double lengths[] = {38, 30, 22};
    for (int i = 0; i < 3; ++i) {
        rounded_rect(cr, 54, 15 + 10 * i, lengths[i], 5, 2.5);
        cairo_fill(cr);
    }
}

void header(cairo_t* cr, int w, int h) {
    fill_all(cr, palette::news_red);
    // The home city's weather is shown in white on a slightly deeper panel at the right.
    const int weather_left = w - (w > portrait_width ? 300 : 230);
    set_colour(cr, palette::deep_red, 0.35);
    cairo_rectangle(cr, weather_left, 0, w - weather_left, h);
    cairo_fill(cr);
    crisp_vline(cr, weather_left, 8, h - 8, 0xFFFFFF, 0.25);
    crisp_hline(cr, 0, w, 0, 0xFFFFFF, 0.18);
    crisp_hline(cr, 0, w, h - 1, palette::deep_red);
    logo(cr);
}

void tab_strip(cairo_t* cr, int w, int h) {
    fill_all(cr, palette::page_grey);
    // The header's shadow falls on the strip.
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 5);
    cairo_pattern_add_color_stop_rgba(p, 0, 0, 0, 0, 0.18);
    cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0, 0);
    cairo_set_source(cr, p);
    cairo_rectangle(cr, 0, 0, w, 5);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    crisp_hline(cr, 0, w, h - 1, palette::hairline);
}

// The hot areas of the footer's links 0-6, relative to its top-left corner, as right and bottom inclusive.
struct hot_area {
    int left, top, right, bottom;
};
constexpr hot_area portrait_links[7] = {{33, 2, 148, 30},  {149, 2, 232, 30},  {233, 2, 337, 30},
                                        {338, 2, 406, 30}, {149, 32, 311, 48}, {87, 32, 148, 48},
                                        {312, 32, 400, 48}};
constexpr hot_area landscape_links[7] = {{68, 2, 176, 32},  {177, 2, 247, 32}, {248, 2, 343, 32},
                                         {344, 2, 415, 32}, {483, 2, 638, 32}, {416, 2, 482, 32},
                                         {639, 2, 722, 32}};

// Each link: its name in white on the footer's black, over a bar of its category's colour.
painter footer(const inputs& in, bool portrait) {
    return [&in, portrait](cairo_t* cr, int w, int) {
        if (in.categories.size() < 6)
            throw std::runtime_error("the footer needs six news categories");
        fill_all(cr, palette::footer_black);
        crisp_hline(cr, 0, w, 0, palette::news_red);
        crisp_hline(cr, 0, w, 1, palette::news_red);
        const hot_area* links = portrait ? portrait_links : landscape_links;
        auto name_of = [&](int i) { return i < 6 ? in.categories[i].name : std::string("Tip-Line"); };
        auto is_small = [&](int i) { return links[i].bottom - links[i].top + 1 < 20; };
        // One size per row: the largest that fits every name of the row with 4 pixels to spare each side.
        double row_size[2] = {portrait ? 13.0 : 14.0, 11.0};
        for (int i = 0; i < 7; ++i) {
            double& size = row_size[is_small(i) ? 1 : 0];
            while (size > 8 && in.text.width(name_of(i), size) > links[i].right - links[i].left + 1 - 8)
                size -= 0.5;
        }
        for (int i = 0; i < 7; ++i) {
            const hot_area& a = links[i];
            const std::uint32_t colour = i < 6 ? in.categories[i].rgb : palette::tipline_orange;
            const int area_w = a.right - a.left + 1, area_h = a.bottom - a.top + 1;
            const int bar = is_small(i) ? 2 : 3;
            set_colour(cr, colour);
            cairo_rectangle(cr, a.left + 3, a.bottom + 1 - bar, area_w - 6, bar);
            cairo_fill(cr);
            in.text.draw_centred(cr, name_of(i),
                                 box{double(a.left), double(a.top), double(area_w), double(area_h - bar)},
                                 row_size[is_small(i) ? 1 : 0], palette::card);
            // A hairline separates a link from the one that follows it on the row.
            for (int j = 0; j < 7; ++j)
                if (links[j].left == a.right + 1 && links[j].top == a.top)
                    crisp_vline(cr, a.right, a.top + 4, a.bottom - bar - 2, 0x4A4A4A);
        }
    };
}

void flat_grey(cairo_t* cr, int, int) {
    fill_all(cr, palette::page_grey);
}

void divider(cairo_t* cr, int w, int) {
    crisp_hline(cr, 0, w, 0, palette::hairline);
    crisp_hline(cr, 0, w, 1, 0xF4F4F4);
}

void inner_shadow(cairo_t* cr, int w, int h) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgba(p, 0, 0, 0, 0, 0.24);
    cairo_pattern_add_color_stop_rgba(p, 0.35, 0, 0, 0, 0.09);
    cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0, 0);
    cairo_set_source(cr, p);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

} // namespace

void add_chrome_pictures(catalogue& c, const inputs& in) {
    c.add_oriented("background", "portrait/background-p.png", portrait_width, portrait_client_height,
                   flat_grey, "landscape/background-l.png", landscape_width, landscape_client_height,
                   flat_grey);
    c.add_oriented("divider", "portrait/divider-p.png", portrait_width, 2, divider, "landscape/divider-l.png",
                   landscape_width, 2, divider);
    c.add_oriented("panel_inner_shadow", "portrait/panel_inner_shadow-p.png", portrait_width, 10,
                   inner_shadow, "landscape/panel_inner_shadow-l.png", landscape_width, 10, inner_shadow);
    c.add_oriented("top_bar", "portrait/top_bar-p.png", portrait_width, tab_strip_height, tab_strip,
                   "landscape/top_bar-l.png", landscape_width, tab_strip_height, tab_strip);
    c.add_oriented("header", "portrait/header-p.png", portrait_width, header_height, header,
                   "landscape/header-l.png", landscape_width, header_height, header);
    c.add_oriented("footer", "portrait/footer-p.png", portrait_width, portrait_footer_height,
                   footer(in, true), "landscape/footer-l.png", landscape_width, landscape_footer_height,
                   footer(in, false));
}

} // namespace assets
