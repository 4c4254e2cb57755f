#include "top_bar.h"

#include "pixel_font.h"

#include "platform/compositor.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace shell {

namespace {

const std::uint16_t bar_colour = platform::rgb565(0x1C, 0x1F, 0x24);
const std::uint16_t line_colour = platform::rgb565(0x3A, 0x3F, 0x47);
const std::uint16_t ink = platform::rgb565(0xF2, 0xF2, 0xF2);
const std::uint16_t dim_ink = platform::rgb565(0x7A, 0x80, 0x88);

} // namespace

void paint_top_bar(platform::window_surface& surface, const std::tm& local_time) {
    {
        std::lock_guard<std::mutex> lock(surface.mutex());
        canvas c{surface.pixels(), surface.width(), surface.height()};
        const int bar = std::min(52, c.h);
        c.fill(0, 0, c.w, bar - 1, bar_colour);
        c.fill(0, bar - 1, c.w, bar, line_colour);

        // Signal strength: four rising bars.
        for (int i = 0; i < 4; ++i)
            c.fill(14 + i * 8, 34 - (i + 1) * 5, 19 + i * 8, 34, i < 3 ? ink : dim_ink);

        // Battery.
        int bx = c.w - 52;
        c.fill(bx, 18, bx + 30, 20, ink);
        c.fill(bx, 32, bx + 30, 34, ink);
        c.fill(bx, 18, bx + 2, 34, ink);
        c.fill(bx + 28, 18, bx + 30, 34, ink);
        c.fill(bx + 30, 23, bx + 33, 29, ink);
        c.fill(bx + 4, 22, bx + 21, 30, platform::rgb565(0x5C, 0xC8, 0x6A));

        // Clock, right of centre, before the battery.
        char clock[8];
        std::snprintf(clock, sizeof clock, "%02d:%02d", local_time.tm_hour % 24, local_time.tm_min % 60);
        const int scale = 3;
        draw_text(c, bx - 24 - text_width(clock, scale), (bar - 7 * scale) / 2, clock, scale, ink);
    }
    surface.touch();
}

void paint_sip_button(platform::window_surface& surface) {
    {
        std::lock_guard<std::mutex> lock(surface.mutex());
        canvas c{surface.pixels(), surface.width(), surface.height()};
        c.fill(0, 0, c.w, c.h, bar_colour);
        c.fill(2, 4, c.w - 2, c.h - 4, dim_ink);
        for (int row = 0; row < 3; ++row)
            for (int k = 0; k < 5; ++k)
                c.fill(5 + k * 6, 7 + row * 5, 9 + k * 6, 10 + row * 5, bar_colour);
    }
    surface.touch();
}

} // namespace shell
