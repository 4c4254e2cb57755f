#include "ui/expanded_block.h"

namespace cl {
namespace ui {

expanded_block::expanded_block(const std::wstring& key, list_box_base* owner, const std::wstring& caption)
    : block_list_box_item(key, owner), block_key(key), height(8.0, 0.15),
      header_row(new settings_block_item(key, this, 0, caption)) {
    header_row->set_block(this);
    list_box_base::add_item(header_row);
    const double closed = settings_block_item::row_height;
    height.set({closed, closed});
}

void expanded_block::add_item(const item_ptr& item) {
    item->set_visible(expanded);
    block_list_box_item::add_item(item);
}

void expanded_block::insert_before(const item_ptr& item, const std::wstring& key) {
    item->set_visible(expanded);
    block_list_box_item::insert_before(item, key);
}

void expanded_block::clear() {
    for (std::size_t i = rows.size(); i-- > 1;)
        rows.erase(rows.begin() + static_cast<long>(i));
    set_expanded(false);
    if (owning_list)
        owning_list->focus_item(header_row->key());
}

void expanded_block::replace_rows(const std::vector<item_ptr>& replacement) {
    const bool had_focus = !focused_key().empty() && focused_key() != header_row->key();
    rows.erase(rows.begin() + 1, rows.end());
    if (had_focus)
        list_box_base::focus_item(header_row->key());
    for (const item_ptr& item : replacement) {
        item->set_visible(expanded);
        list_box_base::add_item(item);
    }
    // The rows in their places under the header first: the group's height follows its new last row.
    layout();
    set_expanded(expanded);
}

void expanded_block::update(unsigned long now_ms) {
    block_list_box_item::update(now_ms);
    height.update(now_ms);
}

void expanded_block::layout() {
    if (owning_list)
        layout_top = owning_list->next_item_top();
    platform::RECT r{list_box_base::rect.left, layout_top, list_box_base::rect.right, layout_top};
    if (owning_list) {
        r.left = owning_list->get_rect().left;
        r.right = owning_list->content_right();
    }
    set_rect(r);
    // The header is the first row, right at the top; hidden options keep their places below it.
    cursor = layout_top - item_gap;
    for (const item_ptr& item : rows) {
        item->layout();
        cursor = item->bottom();
    }
    r.bottom = layout_top + static_cast<int>(height.value(1));
    set_rect(r);
    list_box_base::dirty = true;
    list_box_item_base::dirty = true;
}

int expanded_block::top() const {
    return header_row->top();
}

int expanded_block::bottom() const {
    return expanded && !rows.empty() ? rows.back()->bottom() : header_row->bottom();
}

void expanded_block::set_expanded(bool open) {
    expanded = open;
    for (const item_ptr& item : rows)
        item->set_visible(open);
    const platform::RECT last = open ? rows.back()->get_rect() : header_row->get_rect();
    height.set({static_cast<double>(last.bottom - list_box_item_base::rect.top)});
    header_row->set_checked(open);
    if (owning_list)
        owning_list->layout();
    else
        layout();
}

} // namespace ui
} // namespace cl
