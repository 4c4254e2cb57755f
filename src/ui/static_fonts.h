#pragma once

#include "ui/font.h"

// The panel's fonts, made once when the library is loaded.
namespace cl {
namespace ui {
namespace fonts {

extern const font_ptr generic_sans_22;     // frame-rate overlay
extern const font_ptr tahoma_24;           // command bar, add-city and detailed weather pages
extern const font_ptr tahoma_22;           // header bar, tickers, article view, zone map, citizen report
extern const font_ptr tahoma_28_bold;      // navigation bar tabs
extern const font_ptr tahoma_26_underline; // header bar links
extern const font_ptr tahoma_28;           // city list
extern const font_ptr tahoma_26;           // list and settings items
extern const font_ptr tahoma_26_bold;      // block titles
extern const font_ptr tahoma_40;           // video player

} // namespace fonts
} // namespace ui
} // namespace cl
