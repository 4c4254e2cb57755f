#include "ui/progress_bar.h"

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

void progress_bar::draw(i_graphics& g, bool) {
    g.fill_rect(rect, 0xFFFFFF);
    g.fill_rect(inner, 0x000000);
    g.fill_rect(bar, 0x0000FF);
}

} // namespace ui
} // namespace cl
