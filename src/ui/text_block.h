#pragma once

#include "ui/control_base.h"

#include <string>

namespace cl {
namespace ui {

// A text in a rectangle whose height follows the wrapped text; optionally on a filled background.
class text_block : public control_base {
public:
    text_block(const std::wstring& text, platform::COLORREF text_colour, const font_ptr& font, int align);
    text_block(const std::wstring& text, platform::COLORREF text_colour, const font_ptr& font,
               platform::COLORREF background, int align, bool has_background);

    void set(const std::wstring& text, platform::COLORREF text_colour, const font_ptr& font,
             platform::COLORREF background);

    void update(unsigned long) override {}
    // The width is kept; the height becomes that of the wrapped text on the process-wide graphics.
    void layout() override;
    void draw(i_graphics& g, bool force) override;

    const std::wstring& get_text() const { return text; }
    void set_align(int a) { align = a; }
    int get_align() const { return align; }
    void set_text(const std::wstring& t) { text = t; }

private:
    std::wstring text;
    platform::COLORREF background = 0;
    platform::COLORREF text_colour;
    font_ptr font;
    bool has_background = false;
    int align;
};

} // namespace ui
} // namespace cl
