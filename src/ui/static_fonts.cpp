#include "ui/static_fonts.h"

namespace cl {
namespace ui {
namespace fonts {

const font_ptr generic_sans_22 = create_font(L"GenericSansSerif", 22, 0);
const font_ptr tahoma_24 = create_font(L"Tahoma", 24, 0);
const font_ptr tahoma_22 = create_font(L"Tahoma", 22, 0);
const font_ptr tahoma_28_bold = create_font(L"Tahoma", 28, style_bold);
const font_ptr tahoma_26_underline = create_font(L"Tahoma", 26, style_underline);
const font_ptr tahoma_28 = create_font(L"Tahoma", 28, 0);
const font_ptr tahoma_26 = create_font(L"Tahoma", 26, 0);
const font_ptr tahoma_26_bold = create_font(L"Tahoma", 26, style_bold);
const font_ptr tahoma_40 = create_font(L"Tahoma", 40, 0);

} // namespace fonts
} // namespace ui
} // namespace cl
