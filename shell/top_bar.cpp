#include "top_bar.h"

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

struct canvas {
    std::uint16_t* px;
    int w;
    int h;
    void fill(int x0, int y0, int x1, int y1, std::uint16_t c) {
        x0 = std::max(0, x0), y0 = std::max(0, y0), x1 = std::min(w, x1), y1 = std::min(h, y1);
        for (int y = y0; y < y1; ++y)
            std::fill(px + y * w + x0, px + y * w + std::max(x0, x1), c);
    }
};

// 5 x 7 glyphs of the digits and the colon, one byte a row, bit 4 leftmost.
const unsigned char glyphs[11][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
    {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00},
};

// Returns the width drawn.
int draw_text(canvas& c, int x, int y, const char* text, int scale, std::uint16_t colour) {
    int start = x;
    for (const char* p = text; *p; ++p) {
        int g = *p == ':' ? 10 : (*p >= '0' && *p <= '9' ? *p - '0' : -1);
        if (g < 0) {
            x += 3 * scale;
            continue;
        }
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col)
                if (glyphs[g][row] & (0x10 >> col))
                    c.fill(x + col * scale, y + row * scale, x + (col + 1) * scale, y + (row + 1) * scale,
                           colour);
        x += (g == 10 ? 4 : 6) * scale;
    }
    return x - start;
}

int text_width(const char* text, int scale) {
    int w = 0;
    for (const char* p = text; *p; ++p)
        w += (*p == ':' ? 4 : 6) * scale;
    return w;
}

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

void paint_sip_keyboard(platform::window_surface& surface) {
    {
        std::lock_guard<std::mutex> lock(surface.mutex());
        canvas c{surface.pixels(), surface.width(), surface.height()};
        c.fill(0, 0, c.w, c.h, platform::rgb565(0xC9, 0xCD, 0xD3));
        const int rows = 4, cols = 10;
        int kw = c.w / cols, kh = c.h / rows;
        for (int r = 0; r < rows; ++r)
            for (int k = 0; k < cols; ++k)
                c.fill(k * kw + 3, r * kh + 3, (k + 1) * kw - 3, (r + 1) * kh - 3, 0xFFFF);
    }
    surface.touch();
}

} // namespace shell
