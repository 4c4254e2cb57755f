#include "ui/weather_list_box_item.h"

namespace cl {
namespace ui {

const wchar_t* const weather_list_box_item::loading_text = L" Loading ...";

weather_list_box_item::weather_list_box_item(const font_ptr& font, int row_height)
    : font(font), row_height(row_height) {}

void weather_list_box_item::set_data(const std::wstring& line1, const std::wstring& line2,
                                     const std::wstring& line3, const image_ptr& picture) {
    lines[0] = line1;
    lines[1] = line2;
    lines[2] = line3;
    icon = picture;
    loaded = true;
    layout();
}

void weather_list_box_item::layout() {
    rect.bottom = rect.top + row_height;
    int top = rect.top;
    for (auto& r : line_rects) {
        r = platform::RECT{rect.left + 10, top, rect.right, top + line_height};
        top = r.bottom + 2;
    }
    // The temperatures stand beside the icon, which takes the left of the two lower lines.
    if (icon && rect.left + 10 + icon->width() < rect.right) {
        line_rects[1].left += icon->width() + 8;
        line_rects[2].left += icon->width() + 8;
    }
    dirty = true;
}

void weather_list_box_item::draw(i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    g.fill_rect(rect, background);
    if (loaded) {
        for (int i = 0; i < 3; ++i)
            g.draw_text_clipped(lines[i], line_rects[i], rect, font, 0xFFFFFF, align_left);
        if (icon && rect.left + 10 + icon->width() < rect.right)
            g.draw_image_alpha(icon, rect.left + 10, rect.top + line_height, 255);
    } else {
        g.draw_text_clipped(loading_text, line_rects[0], rect, font, 0xFFFFFF, align_left);
    }
    dirty = false;
}

} // namespace ui
} // namespace cl
