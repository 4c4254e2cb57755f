#include "top_bar.h"

#include "surface_painter.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace shell {

namespace {

constexpr std::uint32_t bar_colour = 0x1C1F24;
constexpr std::uint32_t line_colour = 0x3A3F47;
constexpr std::uint32_t ink = 0xF2F2F2;
constexpr std::uint32_t dim_ink = 0x6A7078;
constexpr std::uint32_t charge = 0x5CC86A;

// Four rising bars with rounded tops, the last one dim: three of four.
void signal(surface_painter& p, double x, double bottom) {
    for (int i = 0; i < 4; ++i) {
        const double h = 6 + i * 4;
        p.fill_rounded(x + i * 7, bottom - h, 5, h, 1.5, i < 3 ? ink : dim_ink);
    }
}

void battery(surface_painter& p, double x, double y) {
    cairo_t* cr = p.cr();
    p.colour(ink);
    cairo_set_line_width(cr, 2);
    const double w = 28, h = 15;
    p.rounded_path(x, y, w, h, 3.5);
    cairo_stroke(cr);
    p.fill_rounded(x + w + 2, y + 4.5, 3, 6, 1.5, ink);
    p.fill_rounded(x + 3, y + 3, (w - 6) * 0.7, h - 6, 1.5, charge);
}

} // namespace

void paint_top_bar(platform::window_surface& surface, const std::tm& local_time) {
    {
        std::lock_guard<std::mutex> lock(surface.mutex());
        surface_painter p(surface);
        const int bar = std::min(52, p.height());
        p.fill_rect(0, 0, p.width(), bar - 1, bar_colour);
        p.fill_rect(0, bar - 1, p.width(), 1, line_colour);

        // The clock on the left, as phones show it; signal and battery on the right.
        char clock[8];
        std::snprintf(clock, sizeof clock, "%02d:%02d", local_time.tm_hour % 24, local_time.tm_min % 60);
        p.text(clock, 18, 0, 120, bar - 1, {24, true}, ink, false);
        signal(p, p.width() - 112 - 44, 34);
        battery(p, p.width() - 56, 18);
    }
    surface.touch();
}

void paint_sip_button(platform::window_surface& surface) {
    {
        std::lock_guard<std::mutex> lock(surface.mutex());
        surface_painter p(surface);
        p.fill_rect(0, 0, p.width(), p.height(), bar_colour);
        p.fill_rounded(1.5, 3.5, p.width() - 3, p.height() - 7, 4, dim_ink);
        // A keyboard: two rows of keys and a space bar.
        for (int row = 0; row < 2; ++row)
            for (int k = 0; k < 5; ++k)
                p.fill_rounded(5.5 + k * 5.5, 7.5 + row * 4.5, 3.5, 3, 0.8, bar_colour);
        p.fill_rounded(11, 16.5, 14, 3, 0.8, bar_colour);
    }
    surface.touch();
}

} // namespace shell
