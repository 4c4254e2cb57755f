#include "ui/list_box_item.h"

#include "ui/graphics.h"
#include "ui/list_box_base.h"
#include "ui/resources.h"
#include "ui/static_fonts.h"

#include <algorithm>

namespace cl {
namespace ui {

list_box_item::list_box_item(list_box_base* owner, const std::wstring& key,
                             const boost::shared_ptr<picture>& icon, const std::wstring& caption, int align,
                             int icon_width, int icon_height)
    : list_box_item_base(owner, key), icon(icon), icon_width(icon ? std::max(icon_width, 0) : 0),
      icon_height(icon ? std::max(icon_height, 0) : 0), text(caption, 0x000000, fonts::tahoma_26, align),
      arrow(load_image(resources::path(L"arrow_right2"))),
      arrow_focused(load_image(resources::path(L"arrow_right2_s"))) {}

void list_box_item::layout() {
    if (owning_list)
        layout_top = owning_list->next_item_top();
    const int base_height = std::max(min_height, icon_height + 2 * margin);
    place(base_height);
    const int icon_left = rect.left + 10;
    icon_place = platform::RECT{icon_left, rect.top + (base_height - icon_height) / 2, icon_left + icon_width,
                                rect.top + (base_height - icon_height) / 2 + icon_height};
    const int caption_left = (icon_width > 0 ? icon_place.right + margin : rect.left + 10) + indent;
    const int arrow_left = arrow ? rect.right - 10 - arrow->width() : rect.right;
    const int caption_right = arrow_left - margin;
    int h = 0, note_h = 0;
    if (auto g = get_graphics()) {
        if (!text.get_text().empty())
            h = g->measure_text(text.get_text(), fonts::tahoma_26, std::max(1, caption_right - caption_left))
                    .cy;
        if (!note_text.empty())
            note_h =
                g->measure_text(note_text, fonts::tahoma_22, std::max(1, caption_right - caption_left)).cy;
    }
    const int top = rect.top + std::max(margin, (base_height - h - note_h) / 2);
    text.set_rect(platform::RECT{caption_left, top, caption_right, top + h});
    note_rect = platform::RECT{caption_left, top + h, caption_right, top + h + note_h};
    h += note_h;
    // A caption taller than the row makes the row taller.
    if (top + h + margin > rect.bottom)
        place(top + h + margin - rect.top);
}

void list_box_item::set_note(const std::wstring& note) {
    if (note == note_text)
        return;
    note_text = note;
    if (owning_list)
        owning_list->layout();
    dirty = true;
}

void list_box_item::draw_content(i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    // The picture may still be loading on the loading thread: it is read, never moved, from here.
    if (icon && icon->is_loaded() && !icon->is_failed()) {
        if (image_ptr image = icon->get_image())
            g.draw_image_centered(image, icon_place.left, icon_place.top, icon_width, icon_height);
    }
    g.draw_text(text.get_text(), text.get_rect(), fonts::tahoma_26, is_focused() ? 0xFFFFFF : 0x000000,
                text.get_align());
    if (!note_text.empty())
        g.draw_text(note_text, note_rect, fonts::tahoma_22, is_focused() ? 0xF0F0F0 : note_colour,
                    align_left);
    const image_ptr& mark = is_focused() ? arrow_focused : arrow;
    if (mark && arrow_shown)
        g.draw_image_alpha(mark, rect.right - 10 - mark->width(),
                           (rect.top + rect.bottom - mark->height()) / 2, 255);
    dirty = false;
}

} // namespace ui
} // namespace cl
