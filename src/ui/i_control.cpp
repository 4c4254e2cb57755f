#include "ui/i_control.h"

namespace cl {
namespace ui {

bool i_control::hit_test(const platform::POINT& pt) const {
    return contains(get_rect(), pt);
}

void i_control::process_event(const cl::app::event& e) {
    switch (e.type) {
    case cl::app::event::key_down:
        on_key_down(e.key);
        break;
    case cl::app::event::key_up:
        on_key_up(e.key);
        break;
    case cl::app::event::pen_down:
        if (hit_test(e.pt))
            on_pen_down(e.pt);
        break;
    case cl::app::event::pen_up:
        if (hit_test(e.pt))
            on_pen_up(e.pt);
        break;
    case cl::app::event::pen_move:
        if (hit_test(e.pt))
            on_pen_move(e.pt);
        break;
    default:
        break;
    }
}

} // namespace ui
} // namespace cl
