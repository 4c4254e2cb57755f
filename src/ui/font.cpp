#include "ui/font.h"

namespace cl {
namespace ui {

font_ptr create_font(const std::wstring& face, int height, int style) {
    platform::font_spec spec;
    spec.face = face.substr(0, 30);
    spec.height = height;
    spec.style = style & (style_bold | style_italic | style_underline | style_strikeout);
    return font_ptr(new font(spec));
}

} // namespace ui
} // namespace cl
