#pragma once

#include "ui/i_control.h"

namespace zor {
namespace ui {

// A bar of the page frame with its own visible and dirty flags: showing or hiding it marks it for drawing.
class chrome_control : public cl::ui::i_control {
public:
    bool is_visible() const override { return visible; }
    void set_visible(bool v) override {
        if (v != visible)
            dirty = true;
        visible = v;
    }
    bool is_dirty() const override { return dirty; }
    void set_dirty(bool d) override { dirty = d; }

protected:
    // Whether to draw now: forced or dirty, and visible. Clears dirty either way.
    bool begin_draw(bool force) {
        if (!force && !dirty)
            return false;
        dirty = false;
        return visible;
    }

    bool visible = true;
    bool dirty = true;
};

} // namespace ui
} // namespace zor
