#pragma once

#include "loop/event.h"
#include "platform/types.h"
#include "ui/i_graphics.h"

namespace cl {
namespace ui {

// Everything on screen: told its rectangle, ticked once a frame, asked to draw, given input events.
class i_control {
public:
    virtual ~i_control() = default;
    virtual bool is_visible() const = 0;
    virtual void set_visible(bool visible) = 0;
    // By default a control is redrawn every frame.
    virtual bool is_dirty() const { return true; }
    virtual void set_dirty(bool) {}
    virtual platform::RECT get_rect() const = 0;
    virtual void set_rect(const platform::RECT& r) = 0;
    virtual void update(unsigned long now_ms) = 0;
    virtual void layout() = 0;
    // Draws when force is set or the control is dirty, then clears dirty.
    virtual void draw(i_graphics& g, bool force) = 0;
    virtual bool hit_test(const platform::POINT& pt) const;
    // Keys go to on_key_*; pen events go to on_pen_* when they hit the control.
    virtual void process_event(const cl::app::event& e);
    virtual void on_key_down(int) {}
    virtual void on_key_up(int) {}
    virtual void on_pen_down(const platform::POINT&) {}
    virtual void on_pen_move(const platform::POINT&) {}
    virtual void on_pen_up(const platform::POINT&) {}
};

// Width and height counting both edges, as the framework's rectangle helpers do.
inline int width(const platform::RECT& r) {
    return r.right - r.left + 1;
}
inline int height(const platform::RECT& r) {
    return r.bottom - r.top + 1;
}
// Inside the rectangle, right and bottom edges excluded.
inline bool contains(const platform::RECT& r, const platform::POINT& p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

} // namespace ui
} // namespace cl
