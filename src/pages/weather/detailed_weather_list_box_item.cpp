#include "pages/weather/detailed_weather_list_box_item.h"

#include "ui/list_box_base.h"
#include "ui/static_fonts.h"

namespace zor {

const wchar_t* const detailed_weather_list_box_item::loading_text = L" Loading ...";

detailed_weather_list_box_item::detailed_weather_list_box_item(cl::ui::list_box_base* owner,
                                                               const std::wstring& key,
                                                               const std::wstring& caption)
    : list_box_item_base(owner, key), caption_text(caption) {
    set_draw_corners(false);
}

void detailed_weather_list_box_item::layout() {
    // Each layout of the list gives the row its top anew.
    if (owning_list)
        layout_top = owning_list->next_item_top();
    place(row_height);
}

void detailed_weather_list_box_item::set_value(const std::wstring& value, const cl::ui::image_ptr& picture) {
    value_text = value;
    icon = picture;
    loaded = true;
    set_dirty(true);
}

void detailed_weather_list_box_item::set_offset(int pixels) {
    if (pixels != offset) {
        offset = pixels;
        set_dirty(true);
    }
}

void detailed_weather_list_box_item::draw_content(cl::ui::i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    const auto& font = cl::ui::fonts::tahoma_24;
    const platform::COLORREF colour = is_focused() ? 0xFFFFFF : 0x000000;
    const int left = rect.left + 10 + offset;
    if (!loaded) {
        g.draw_text_clipped(loading_text, platform::RECT{left, rect.top, rect.right - 5, rect.bottom}, rect,
                            font, colour, cl::ui::align_left_vcenter);
        dirty = false;
        return;
    }
    // Captions take the left two fifths; values follow, after the icon when there is one.
    const int value_left = rect.left + (rect.right - rect.left) * 2 / 5 + offset;
    g.draw_text_clipped(caption_text, platform::RECT{left, rect.top, value_left - 5, rect.bottom}, rect, font,
                        0x606060, cl::ui::align_left_vcenter);
    int text_left = value_left;
    if (icon && value_left + icon->width() < rect.right && icon->height() <= rect.bottom - rect.top) {
        g.draw_image_alpha(icon, value_left, rect.top + (rect.bottom - rect.top - icon->height()) / 2, 255);
        text_left += icon->width() + 6;
    }
    g.draw_text_clipped(value_text, platform::RECT{text_left, rect.top, rect.right - 5, rect.bottom}, rect,
                        font, colour, cl::ui::align_left_vcenter);
    dirty = false;
}

} // namespace zor
