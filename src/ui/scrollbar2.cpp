#include "ui/scrollbar2.h"

#include "ui/graphics.h"
#include "ui/offset_graphics.h"
#include "ui/resources.h"

#include <algorithm>

namespace zor {
namespace ui {

namespace {
const int arrows_apart = 180;
const int track_allowance = 170;

int height_of(const cl::ui::image_ptr& image) {
    return image ? image->height() : 0;
}
} // namespace

scrollbar2::scrollbar2()
    : top_arrow(cl::ui::load_image(cl::ui::resources::path(L"top_arrow_10x5"))),
      bottom_arrow(cl::ui::load_image(cl::ui::resources::path(L"bottom_arrow_10x5"))) {}

int scrollbar2::free_track() const {
    return (rect.bottom - rect.top) - (rect.right - rect.left) - height_of(top_arrow) -
           height_of(bottom_arrow) - track_allowance;
}

void scrollbar2::place_thumb() {
    const int track = free_track();
    const long long offset = static_cast<long long>(pos) * track / span;
    thumb_offset = static_cast<int>(std::max(0LL, offset));
    dirty = true;
}

void scrollbar2::set_range(int pixels) {
    span = std::max(1, pixels);
    place_thumb();
}

void scrollbar2::set_position(int pixels) {
    pos = std::max(0, pixels);
    place_thumb();
}

void scrollbar2::drag_by(int dy) {
    const int track = free_track();
    thumb_offset = std::max(0, std::min(std::max(0, track), thumb_offset + dy));
    if (track > 0)
        pos = static_cast<int>(static_cast<long long>(thumb_offset) * span / track);
    dirty = true;
}

bool scrollbar2::hit_thumb(const platform::POINT& p) const {
    return p.x >= rect.left && p.x <= rect.right && p.y >= top_point.y + thumb_offset &&
           p.y <= thumb_rect.bottom + thumb_offset;
}

void scrollbar2::layout() {
    const int margin = ((rect.right - rect.left) - arrow_width) / 2;
    top_point = platform::POINT{rect.left + margin, rect.top + margin};
    bottom_point = platform::POINT{top_point.x, top_point.y + height_of(top_arrow) + arrows_apart};
    thumb_rect = platform::RECT{rect.left + margin, top_point.y + height_of(top_arrow), rect.right - margin,
                                top_point.y + height_of(bottom_arrow) + arrows_apart};
    place_thumb();
}

void scrollbar2::draw(cl::ui::i_graphics& g, bool force) {
    if (!visible || (!force && !dirty))
        return;
    g.fill_rect(rect, 0xFFFFFF);
    round_control::draw(g, true);
    cl::ui::offset_graphics moved(&g, 0, thumb_offset);
    // The thumb is longer than a short bar (an article above the advert in landscape): it stays inside.
    moved.set_clip(rect);
    if (top_arrow)
        moved.draw_image_alpha(top_arrow, top_point.x, top_point.y, 255);
    moved.fill_rect(thumb_rect, thumb_colour);
    if (bottom_arrow)
        moved.draw_image_alpha(bottom_arrow, bottom_point.x, bottom_point.y, 255);
    dirty = false;
}

void scrollbar2::on_pen_down(const platform::POINT& p) {
    if (hit_thumb(p)) {
        dragging = true;
        drag_point = p;
    }
}

void scrollbar2::on_pen_move(const platform::POINT& p) {
    if (!dragging)
        return;
    drag_by(p.y - drag_point.y);
    drag_point = p;
}

void scrollbar2::on_pen_up(const platform::POINT&) {
    dragging = false;
}

} // namespace ui
} // namespace zor
