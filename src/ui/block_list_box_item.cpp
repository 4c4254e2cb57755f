#include "ui/block_list_box_item.h"

#include "ui/static_fonts.h"

namespace cl {
namespace ui {

block_list_box_item::block_list_box_item(const std::wstring& key, list_box_base* owner)
    : list_box_item_base(owner, key) {
    set_outer(owner);
    item_activated.connect(
        utils::function1<void, std::wstring>([this](std::wstring k) { forward_activation(std::move(k)); }));
}

void block_list_box_item::forward_activation(std::wstring key) {
    if (owning_list)
        owning_list->item_activated(key);
}

void block_list_box_item::set_title(const std::wstring& text) {
    if (text == title_text)
        return;
    title_text = text;
    set_dirty(true);
}

void block_list_box_item::set_note(const std::wstring& text) {
    if (text == note_text)
        return;
    note_text = text;
    set_dirty(true);
}

void block_list_box_item::set_dirty(bool d) {
    list_box_base::set_dirty(d);
    list_box_item_base::set_dirty(d);
}

void block_list_box_item::set_rect(const platform::RECT& r) {
    list_box_base::rect = r;
    list_box_item_base::rect = r;
}

int block_list_box_item::bottom() const {
    return rows.empty() ? list_box_item_base::rect.bottom : rows.back()->bottom();
}

void block_list_box_item::layout() {
    if (owning_list)
        layout_top = owning_list->next_item_top();
    const int top = layout_top;
    platform::RECT r{list_box_base::rect.left, top, list_box_base::rect.right, top + 90};
    if (owning_list) {
        r.left = owning_list->get_rect().left + owning_list->right_margin();
        r.right = owning_list->content_right();
    }
    set_rect(r);
    // The rows start under the title strip.
    cursor = top + title_height - item_gap;
    for (const item_ptr& item : rows) {
        item->layout();
        cursor = item->bottom();
    }
    if (!rows.empty())
        r.bottom = cursor;
    set_rect(r);
    title_rect = platform::RECT{r.left, r.top, r.right, r.top + title_height};
    caption_rect = platform::RECT{r.left + 25, r.top, r.right, r.top + title_height};
    list_box_base::dirty = true;
    list_box_item_base::dirty = true;
}

void block_list_box_item::relayout_outer() {
    if (owning_list)
        owning_list->layout();
    else
        layout();
}

void block_list_box_item::add_item(const item_ptr& item) {
    list_box_base::add_item(item);
    relayout_outer();
}

void block_list_box_item::insert_front(const item_ptr& item) {
    list_box_base::insert_front(item);
    relayout_outer();
}

void block_list_box_item::insert_before(const item_ptr& item, const std::wstring& key) {
    list_box_base::insert_before(item, key);
    relayout_outer();
}

void block_list_box_item::remove_item(const std::wstring& key) {
    list_box_base::remove_item(key);
    relayout_outer();
}

void block_list_box_item::clear() {
    list_box_base::clear();
    relayout_outer();
}

void block_list_box_item::follow_focus() {
    // The rounded bottom corners follow the highlight onto the last row.
    set_bottom_focused(!rows.empty() && rows.back()->key() == focused_key());
}

void block_list_box_item::focus_index(int index) {
    list_box_base::focus_index(index);
    follow_focus();
}

void block_list_box_item::focus_item(const std::wstring& key) {
    list_box_base::focus_item(key);
    follow_focus();
}

void block_list_box_item::on_focus_changed(bool has_focus) {
    if (!has_focus && !focused_key().empty()) {
        list_box_base::focus_item(std::wstring());
        follow_focus();
    }
}

void block_list_box_item::on_pen_up(const platform::POINT& p) {
    if (key_at(p).empty() && contains(title_rect, p)) {
        forward_activation(key());
        return;
    }
    list_box_base::on_pen_up(p);
}

void block_list_box_item::draw(i_graphics& g, bool force) {
    if (!force && !is_dirty())
        return;
    if (rows.empty()) {
        list_box_base::dirty = false;
        list_box_item_base::dirty = false;
        return;
    }
    if (!title_text.empty()) {
        g.fill_rect(title_rect, 0xFFFFFF);
        g.draw_text(title_text, caption_rect, fonts::tahoma_26_bold, 0x000000, align_left_vcenter);
        if (!note_text.empty())
            g.draw_text(note_text,
                        platform::RECT{caption_rect.left, title_rect.top + 6, title_rect.right - 12,
                                       title_rect.bottom},
                        fonts::tahoma_22, note_colour, align_right);
    }
    list_box_base::draw(g, true);
    if (draw_corners)
        round_control::draw(g, true);
    list_box_base::dirty = false;
    list_box_item_base::dirty = false;
}

} // namespace ui
} // namespace cl
