#include "ui/round_control.h"

#include "ui/graphics.h"
#include "ui/resources.h"

namespace cl {
namespace ui {

round_control::round_control() {
    static const wchar_t* const keys[8] = {L"top_left_corner",
                                           L"top_right_corner",
                                           L"bottom_right_corner",
                                           L"bottom_left_corner",
                                           L"focused_top_left_corner",
                                           L"focused_top_right_corner",
                                           L"focused_bottom_right_corner",
                                           L"focused_bottom_left_corner"};
    for (int i = 0; i < 8; ++i)
        corners[i] = load_image(resources::path(keys[i]));
}

round_control::round_control(const image_ptr (&images)[8]) {
    for (int i = 0; i < 8; ++i)
        corners[i] = images[i];
}

void round_control::draw(i_graphics& g, bool) {
    const int top = (focused || top_focused) ? 4 : 0;
    const int bottom = (focused || bottom_focused) ? 4 : 0;
    const image_ptr& tl = corners[0 + top];
    const image_ptr& tr = corners[1 + top];
    const image_ptr& br = corners[2 + bottom];
    const image_ptr& bl = corners[3 + bottom];
    if (tl)
        g.draw_image(tl, rect.left, rect.top);
    if (tr)
        g.draw_image(tr, rect.right - tr->width(), rect.top);
    if (br)
        g.draw_image(br, rect.right - br->width(), rect.bottom - br->height());
    if (bl)
        g.draw_image(bl, rect.left, rect.bottom - bl->height());
}

} // namespace ui
} // namespace cl
