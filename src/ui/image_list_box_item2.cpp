#include "ui/image_list_box_item2.h"

#include "ui/list_box_base.h"

namespace cl {
namespace ui {

image_list_box_item2::image_list_box_item2(const std::wstring& key, list_box_base* owner,
                                           const boost::shared_ptr<picture>& normal,
                                           const boost::shared_ptr<picture>& focused)
    : list_box_item_base(owner, key), normal(normal), focused_picture(focused) {
    set_fill_background(false);
    set_draw_corners(false);
}

void image_list_box_item2::layout() {
    normal->layout();
    const platform::RECT own = normal->get_rect();
    const int picture_width = own.right - own.left, picture_height = own.bottom - own.top;
    if (owning_list) {
        // Indented by the list's margin on both sides, so the picture lines up with the rows' cards.
        const platform::RECT list = owning_list->get_rect();
        rect.left = list.left + owning_list->right_margin();
        rect.right = list.right - owning_list->right_margin();
        layout_top = owning_list->next_item_top();
    }
    rect.top = layout_top;
    rect.bottom = layout_top + picture_height;
    const platform::RECT place{rect.left, rect.top, rect.left + picture_width, rect.top + picture_height};
    for (picture* p : {normal.get(), focused_picture.get()}) {
        p->set_rect(place);
        p->layout();
    }
    dirty = true;
}

void image_list_box_item2::draw_content(i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    (is_focused() ? focused_picture : normal)->draw(g, true);
    dirty = false;
}

} // namespace ui
} // namespace cl
