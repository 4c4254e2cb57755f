#include "ui/list_box_item_base.h"

#include "ui/list_box_base.h"

namespace cl {
namespace ui {

list_box_item_base::list_box_item_base(list_box_base* owner, const std::wstring& key)
    : owning_list(owner), item_key(key), layout_top(owner ? owner->next_item_top() : 0) {}

void list_box_item_base::set_dirty(bool d) {
    dirty = d;
    if (d && owning_list)
        owning_list->set_dirty(true);
}

void list_box_item_base::layout() {
    if (owning_list)
        layout_top = owning_list->next_item_top();
    place(rect.bottom - rect.top);
}

void list_box_item_base::place(int height) {
    if (owning_list) {
        const platform::RECT list = owning_list->get_rect();
        rect.left = list.left;
        rect.right = owning_list->content_right();
    }
    rect.top = layout_top;
    rect.bottom = layout_top + height;
    dirty = true;
}

void list_box_item_base::draw(i_graphics& g, bool) {
    if (!visible)
        return;
    if (fill_background)
        g.fill_rect(rect, is_focused() ? focused_colour : 0xFFFFFF);
    if (draw_corners)
        round_control::draw(g, true);
    draw_content(g, true);
}

void list_box_item_base::set_focused(bool f) {
    round_control::set_focused(f);
    on_focus_changed(f);
    set_dirty(true);
}

} // namespace ui
} // namespace cl
