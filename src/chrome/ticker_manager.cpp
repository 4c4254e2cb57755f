#include "chrome/ticker_manager.h"

namespace zor {

void ticker_manager::set_mode(int m) {
    mode = m;
    shown = m != off;
    dirty = true;
}

void ticker_manager::set_area(const platform::RECT& r, int page_bottom) {
    rect = r;
    bottom = page_bottom;
}

void ticker_manager::drag_y(int, int) {}

bool ticker_manager::claims_label(const std::wstring&) {
    return on_screen;
}

} // namespace zor
