#include "ui/text_block.h"

#include "ui/graphics.h"

namespace cl {
namespace ui {

text_block::text_block(const std::wstring& text, platform::COLORREF text_colour, const font_ptr& font,
                       int align)
    : text(text), text_colour(text_colour), font(font), align(align) {}

text_block::text_block(const std::wstring& text, platform::COLORREF text_colour, const font_ptr& font,
                       platform::COLORREF background, int align, bool has_background)
    : text(text), background(background), text_colour(text_colour), font(font),
      has_background(has_background), align(align) {}

void text_block::set(const std::wstring& t, platform::COLORREF colour, const font_ptr& f,
                     platform::COLORREF back) {
    text = t;
    text_colour = colour;
    font = f;
    background = back;
}

void text_block::layout() {
    auto g = get_graphics();
    if (!g)
        return;
    const platform::SIZE size = g->measure_text(text, font, width(rect));
    rect = platform::RECT{rect.left, rect.top, rect.left + size.cx - 1, rect.top + size.cy};
}

void text_block::draw(i_graphics& g, bool) {
    if (has_background)
        g.fill_rect(rect, background);
    g.draw_text(text, rect, font, text_colour, align);
}

} // namespace ui
} // namespace cl
