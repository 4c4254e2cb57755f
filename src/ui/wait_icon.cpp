#include "ui/wait_icon.h"

#include "ui/rounded_block.h"

#include <cmath>

namespace cl {
namespace ui {

namespace {

// Each cell shows a smoothed dot, placed on a circle round the square's centre in the cell's direction:
// the same cells and greys, read as a spinner rather than as blocks.
constexpr int dot_diameter = 34;
constexpr double ring_radius = 76.0;

} // namespace

wait_icon::wait_icon() {
    for (int x = 0; x < 8; ++x) {
        platform::COLORREF grey = static_cast<platform::COLORREF>(164 - 16 * x) * 0x010101u;
        palette[x] = grey;
        palette[15 - x] = grey;
    }
    for (int x = 16; x < 32; ++x)
        palette[x] = 0;
    set_rect(platform::RECT{0, 0, side, side});
}

void wait_icon::set_rect(const platform::RECT& r) {
    const int left = r.left + ((r.right - r.left) - side) / 2;
    const int top = r.top + ((r.bottom - r.top) - side) / 2;
    rect = platform::RECT{left, top, left + side, top + side};
    const int cw = (width(rect) - 4) / 3, ch = (height(rect) - 4) / 3;
    static const int offsets[8][2] = {{0, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 1}, {2, 0}, {1, 0}};
    const double cx = (rect.left + rect.right) / 2.0, cy = (rect.top + rect.bottom) / 2.0;
    for (int i = 0; i < 8; ++i) {
        const int x = rect.left + offsets[i][0] * (cw + 2), y = rect.top + offsets[i][1] * (ch + 2);
        cells[i] = platform::RECT{x, y, x + cw, y + ch};
        const double dx = offsets[i][0] - 1, dy = offsets[i][1] - 1, d = std::hypot(dx, dy);
        dots[i] =
            platform::POINT{static_cast<int>(std::lround(cx + ring_radius * dx / d - dot_diameter / 2.0)),
                            static_cast<int>(std::lround(cy + ring_radius * dy / d - dot_diameter / 2.0))};
    }
    dirty = true;
}

void wait_icon::update(unsigned long) {
    if (++counter % step_divisor == 0) {
        if (--phase < 0)
            phase = 31;
        counter = 0;
    }
    dirty = true;
}

void wait_icon::draw(i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    for (int i = 0; i < 8; ++i) {
        platform::COLORREF c = palette[(phase + i) % 32];
        if (c != 0)
            g.draw_image_alpha(rounded_block(c, dot_diameter, dot_diameter, dot_diameter / 2), dots[i].x,
                               dots[i].y, 255);
    }
    dirty = false;
}

} // namespace ui
} // namespace cl
