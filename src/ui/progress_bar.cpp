#include "ui/progress_bar.h"

#include "ui/rounded_block.h"

#include <algorithm>

namespace cl {
namespace ui {

void progress_bar::set_rect(const platform::RECT& r) {
    rect = r;
    inner = platform::RECT{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
    bar = platform::RECT{r.left + 7, r.top + 7, r.right - 7, r.bottom - 7};
    pixels_per_percent = ((r.right - 7) - (r.left + 7)) * 0.01;
}

void progress_bar::set_progress(int percent) {
    bar.right = std::min(static_cast<int>(percent * pixels_per_percent + bar.left), inner.right - 5);
}

namespace {

// A slim track on the controls' black, the played part in the brand's red and a white knob at its end: the
// rectangles above stay where they are, only their look is today's. COLORREF is 0x00BBGGRR.
constexpr platform::COLORREF background = 0x000000;
constexpr platform::COLORREF track_grey = 0x5A5A5A;
constexpr platform::COLORREF played_red = 0x3B3CDB;
constexpr platform::COLORREF knob_white = 0xFFFFFF;
constexpr int track_height = 6;
constexpr int knob_side = 20;

// A pill from x0 to x1 centred on the row y: a rounded cap each end, a plain fill between.
void pill(i_graphics& g, int x0, int x1, int y, platform::COLORREF colour) {
    const int h = track_height, top = y - h / 2;
    if (x1 - x0 < h)
        x1 = x0 + h;
    const image_ptr cap = rounded_block(colour, h, h, h / 2);
    g.draw_image_part(cap, x0, top, platform::RECT{0, 0, h / 2 - 1, h - 1}, 255);
    g.fill_rect(platform::RECT{x0 + h / 2, top, x1 - h / 2, top + h}, colour);
    g.draw_image_part(cap, x1 - h / 2, top, platform::RECT{h / 2, 0, h - 1, h - 1}, 255);
}

} // namespace

void progress_bar::draw(i_graphics& g, bool) {
    g.fill_rect(rect, background);
    const int middle = (bar.top + bar.bottom) / 2;
    pill(g, bar.left, inner.right - 5, middle, track_grey);
    pill(g, bar.left, bar.right, middle, played_red);
    const int knob_left = std::clamp(bar.right - knob_side / 2, rect.left, rect.right - knob_side);
    g.draw_image_alpha(rounded_block(knob_white, knob_side, knob_side, knob_side / 2), knob_left,
                       middle - knob_side / 2, 255);
}

} // namespace ui
} // namespace cl
