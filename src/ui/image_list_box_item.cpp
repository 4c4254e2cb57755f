#include "ui/image_list_box_item.h"

namespace cl {
namespace ui {

image_list_box_item::image_list_box_item(const std::wstring& text, const image_ptr& image,
                                         platform::COLORREF background, bool show_image, int row_height)
    : caption(text), background(background), image(image), row_height(row_height) {
    visible = show_image;
}

void image_list_box_item::draw(i_graphics& g, bool) {
    g.fill_rect(rect, background);
    if (visible && image)
        g.draw_image_centered(image, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    dirty = false;
}

} // namespace ui
} // namespace cl
