#include "ui/move_list_box_item.h"

namespace cl {
namespace ui {

move_list_box_item::move_list_box_item(double speed) : edge(speed) {}

void move_list_box_item::set_item(i_list_box_item* item) {
    inner = item;
    if (inner) {
        place_inner();
        inner->layout();
    }
    placed = inner != nullptr;
    dirty = true;
}

void move_list_box_item::slide_out() {
    moving = true;
    placed = false;
    edge.set({static_cast<double>(rect.right)});
}

void move_list_box_item::slide_in() {
    placed = false;
    edge.set({static_cast<double>(rect.left)});
}

void move_list_box_item::set_visible(bool v) {
    if (inner)
        inner->set_visible(v);
    dirty = true;
}

void move_list_box_item::set_selected(bool selected) {
    if (inner)
        inner->set_selected(selected);
}

void move_list_box_item::set_rect(const platform::RECT& r) {
    if (!inner) {
        rect = r;
        return;
    }
    inner->set_rect(r);
    rect = inner->get_rect();
    placed = false;
    // A row being wiped away keeps going, so the finished signal still comes.
    edge.set({static_cast<double>(rect.left), static_cast<double>(moving ? rect.right : rect.left)});
}

void move_list_box_item::layout() {
    if (!inner)
        return;
    inner->layout();
    rect = inner->get_rect();
    placed = false;
    dirty = true;
}

void move_list_box_item::place_inner() {
    inner->set_rect(platform::RECT{static_cast<int>(edge.value(0)), rect.top, rect.right, rect.bottom});
}

void move_list_box_item::update(unsigned long now_ms) {
    if (!inner)
        return;
    inner->update(now_ms);
    if (edge.update(now_ms))
        placed = false;
    if (moving && edge.value(0) == rect.right) {
        moving = false;
        finished(inner->text());
        // A receiver may have given the holder another row.
        if (!inner)
            return;
    }
    // Laid out again only when the edge moved: a row at rest has nothing new to draw.
    if (!placed) {
        place_inner();
        inner->layout();
        placed = true;
        dirty = true;
    }
    if (inner->is_dirty())
        dirty = true;
}

void move_list_box_item::draw(i_graphics& g, bool force) {
    if (inner && (force || dirty))
        inner->draw(g, true);
    dirty = false;
}

} // namespace ui
} // namespace cl
