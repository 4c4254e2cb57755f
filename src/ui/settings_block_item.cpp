#include "ui/settings_block_item.h"

#include "ui/expanded_block.h"
#include "ui/graphics.h"
#include "ui/list_box_base.h"
#include "ui/resources.h"
#include "ui/static_fonts.h"

#include <algorithm>

namespace cl {
namespace ui {

settings_block_item::settings_block_item(const std::wstring& key, list_box_base* owner, int kind,
                                         const std::wstring& caption)
    : list_box_item_base(owner, key), text(caption, 0x000000, fonts::tahoma_26, align_left), item_kind(kind) {
    static const wchar_t* const header_keys[4] = {L"checkbox_open", L"checkbox_closed",
                                                  L"checkbox_open_selected", L"checkbox_closed_selected"};
    static const wchar_t* const option_keys[4] = {L"settings_tickbox_on", L"settings_tickbox_off",
                                                  L"settings_tickbox_on_selected",
                                                  L"settings_tickbox_off_selected"};
    load_marks(kind == 0 ? header_keys : option_keys);
    if (kind == 1)
        visible = false; // shown while the group is open
}

void settings_block_item::load_marks(const wchar_t* const (&keys)[4]) {
    for (int i = 0; i < 4; ++i)
        marks[i].reset(new picture(load_image(resources::path(keys[i])), true, picture::top_left));
    choose_mark();
}

void settings_block_item::show_as_choice() {
    static const wchar_t* const radio_keys[4] = {L"settings_radio_on", L"settings_radio_off",
                                                 L"settings_radio_on_selected",
                                                 L"settings_radio_off_selected"};
    if (item_kind == 1)
        load_marks(radio_keys); // placed by the next layout
}

void settings_block_item::set_visible(bool v) {
    if (item_kind == 1) {
        visible = v;
        set_dirty(true);
    }
}

void settings_block_item::choose_mark() {
    mark = marks[(is_focused() ? 2 : 0) + (checked ? 0 : 1)];
}

void settings_block_item::update(unsigned long) {
    choose_mark();
}

void settings_block_item::set_focused(bool f) {
    list_box_item_base::set_focused(f);
    choose_mark();
}

void settings_block_item::set_checked(bool c) {
    checked = c;
    choose_mark();
    set_dirty(true);
}

void settings_block_item::layout() {
    if (!owning_list)
        return;
    layout_top = owning_list->next_item_top();
    rect =
        platform::RECT{owning_list->right_margin() + (item_kind == 1 ? 30 : 0), layout_top,
                       owning_list->content_right() - owning_list->right_margin(), layout_top + row_height};
    for (auto& m : marks) {
        const image_ptr image = m->get_image();
        const int w = image ? image->width() : 0, h = image ? image->height() : 0;
        const int top = rect.top + (row_height - h) / 2 - 1;
        m->set_rect(platform::RECT{rect.left + 20, top, rect.left + 20 + w, top + h});
        m->layout();
    }
    caption_placed = false;
    dirty = true;
}

void settings_block_item::draw_content(i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    if (!caption_placed) {
        const int width = std::max(1, rect.right - 5 - caption_left);
        const int h = g.measure_text(text.get_text(), fonts::tahoma_26, width).cy;
        const int top = rect.top + std::max(5, (row_height - h) / 2);
        // The caption starts at the same x on every row, whatever the row's indent.
        text.set_rect(platform::RECT{caption_left, top, rect.right - 5, std::min(rect.bottom - 5, top + h)});
        caption_placed = true;
    }
    mark->draw(g, true);
    g.draw_text_clipped(text.get_text(), text.get_rect(), text.get_rect(), fonts::tahoma_26, 0x000000,
                        align_left);
    dirty = false;
}

void settings_block_item::on_activated() {
    checked = !checked;
    choose_mark();
    set_dirty(true);
    if (item_kind == 0 && block)
        block->set_expanded(checked);
    // The page listens to the outer list only.
    if (auto* group = dynamic_cast<block_list_box_item*>(owning_list)) {
        if (list_box_base* outer = group->owner())
            outer->item_activated(key());
    }
}

} // namespace ui
} // namespace cl
