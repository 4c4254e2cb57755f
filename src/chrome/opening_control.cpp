#include "chrome/opening_control.h"

namespace zor {
namespace ui {

opening_control::opening_control() : anim(speed) {}

void opening_control::start(const cl::ui::image_ptr& left_half, const cl::ui::image_ptr& right_half) {
    left_image = left_half;
    right_image = right_half;
    running = true;
    dirty = true;
    anim.set({static_cast<double>((rect.left + rect.right) / 2), 0.0});
}

void opening_control::update(unsigned long now_ms) {
    // Ticked even while idle, so the next opening measures its first step from the previous frame.
    const bool moved = anim.update(now_ms);
    if (!running)
        return;
    if (moved)
        dirty = true;
    if (anim.value(0) <= 0) {
        left_image.reset();
        right_image.reset();
        running = false;
        dirty = true;
    }
}

void opening_control::draw(cl::ui::i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    dirty = false;
    if (!running)
        return;
    const int value = static_cast<int>(anim.value(0));
    if (left_image)
        g.draw_image(left_image, value + (rect.left - rect.right) / 2, rect.top);
    if (right_image)
        g.draw_image(right_image, rect.right - value, rect.top);
}

} // namespace ui
} // namespace zor
