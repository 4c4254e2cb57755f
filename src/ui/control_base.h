#pragma once

#include "ui/i_control.h"

namespace cl {
namespace ui {

// What every control keeps: its rectangle, whether it is shown and whether it must be drawn again. A control
// overrides only what differs, and calls back here when it adds side effects.
class control_base : public i_control {
public:
    bool is_visible() const override { return visible; }
    // Showing or hiding a control marks it for drawing.
    void set_visible(bool v) override {
        if (v != visible)
            dirty = true;
        visible = v;
    }
    bool is_dirty() const override { return dirty; }
    void set_dirty(bool d) override { dirty = d; }
    platform::RECT get_rect() const override { return rect; }
    void set_rect(const platform::RECT& r) override { rect = r; }

protected:
    // Whether to draw now: forced or dirty, and visible. Clears dirty either way.
    bool begin_draw(bool force) {
        if (!force && !dirty)
            return false;
        dirty = false;
        return visible;
    }

    platform::RECT rect{};
    bool visible = true;
    bool dirty = true;
};

} // namespace ui
} // namespace cl
