#include "chrome/ticker.h"

#include <algorithm>

namespace zor {
namespace ui {

// Hidden until its first run starts.
ticker::ticker() : anim(move_speed) {
    visible = false;
}

void ticker::set_rect(const platform::RECT& r) {
    rect = r;
    layout();
}

void ticker::clear_text() {
    text.clear();
    set_ready(false);
}

void ticker::set_text(const std::wstring& t) {
    text = t;
    set_ready(false);
}

void ticker::set_ready(bool r) {
    ready = r;
    if (!r)
        requested = false;
    dirty = true;
}

void ticker::set_background(platform::COLORREF c) {
    background = c;
    dirty = true;
}

void ticker::start_run(unsigned long now_ms) {
    start = now_ms;
    mode = running;
    dir = right_to_left;
    extent = rect.right - rect.left;
    end_value = 0;
    anim.set({static_cast<double>(extent), 0.0});
    visible = true;
    layout();
}

void ticker::run_to_end() {
    if (mode == still)
        return;
    mode = running_out;
    dir = right_to_left;
    end_value = -(rect.right - rect.left);
    anim.set({static_cast<double>(end_value)});
}

void ticker::stop() {
    mode = still;
    dir = none;
    visible = false;
    layout();
}

void ticker::update(unsigned long now_ms) {
    if (!ready)
        fill();
    // Ticked while still too, so a run's first step is measured from the previous frame.
    const bool moved = anim.update(now_ms);
    if (mode == still)
        return;
    if (moved) {
        layout();
        dirty = true;
    }
    if (mode == running_out && anim.value(0) <= end_value) {
        stop();
        finished(this);
    }
}

void ticker::layout() {
    moving = rect;
    if (mode != still) {
        const int v = static_cast<int>(anim.value(0));
        moving.left += v;
        moving.right += v;
    }
    layout_content();
    dirty = true;
}

void ticker::draw(cl::ui::i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    dirty = false;
    if (!visible)
        return;
    const platform::RECT shown{std::max(moving.left, rect.left), rect.top, std::min(moving.right, rect.right),
                               rect.bottom};
    if (shown.right > shown.left)
        g.fill_rect(shown, background);
    draw_content(g);
    g.invalidate(rect);
}

} // namespace ui
} // namespace zor
