#include "ui/simple_list_box.h"

#include <algorithm>

namespace cl {
namespace ui {

void simple_list_box::add_item(const item_ptr& item) {
    rows.push_back(item);
    dirty = true;
}

void simple_list_box::clear() {
    rows.clear();
    dirty = true;
}

void simple_list_box::update(unsigned long now_ms) {
    for (const item_ptr& item : rows) {
        item->update(now_ms);
        // A hidden row is not drawn, so it would stay dirty and keep the box redrawing.
        if (item->is_visible() && item->is_dirty())
            dirty = true;
    }
}

void simple_list_box::layout() {
    platform::RECT r = rect;
    for (const item_ptr& item : rows) {
        if (!item->is_visible())
            continue;
        item->set_rect(r);
        item->layout();
        const platform::RECT placed = item->get_rect();
        r = platform::RECT{placed.left, placed.bottom + item_gap, placed.right,
                           2 * placed.bottom - placed.top};
    }
    // A box that grew (the screen turned) may now show everything.
    shift = std::min(shift, max_shift());
    dirty = true;
}

int simple_list_box::content_bottom() const {
    int bottom = rect.top;
    for (const item_ptr& item : rows)
        if (item->is_visible())
            bottom = std::max(bottom, static_cast<int>(item->get_rect().bottom));
    return bottom;
}

int simple_list_box::max_shift() const {
    return std::max(0, content_bottom() - static_cast<int>(rect.bottom));
}

void simple_list_box::scroll_y(int dy) {
    const int to = std::clamp(shift - dy, 0, max_shift());
    if (to != shift) {
        shift = to;
        dirty = true;
    }
}

void simple_list_box::draw(i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    i_graphics* target = &g;
    const bool scrolls = max_shift() > 0;
    if (scrolls) {
        // The gaps move with the rows, so the ground is drawn again under them.
        g.fill_rect(rect, ground);
        view.set_graphics(&g);
        view.set_offset(0, -shift);
        view.set_clip(rect);
        target = &view;
    }
    for (const item_ptr& item : rows) {
        if (item->is_visible())
            item->draw(*target, true);
    }
    if (scrolls)
        g.invalidate(rect);
    dirty = false;
}

} // namespace ui
} // namespace cl
