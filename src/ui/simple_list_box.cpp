#include "ui/simple_list_box.h"

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
    dirty = true;
}

void simple_list_box::draw(i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    for (const item_ptr& item : rows) {
        if (item->is_visible())
            item->draw(g, true);
    }
    dirty = false;
}

} // namespace ui
} // namespace cl
