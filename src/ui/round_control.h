#pragma once

#include "ui/control_base.h"

namespace cl {
namespace ui {

// The base of rounded cards: it draws the four corner pictures (the focused set where focused) over the
// background its derived class fills.
class round_control : public control_base {
public:
    round_control();
    // For pictures already loaded, in the order top-left, top-right, bottom-right, bottom-left, then the
    // same four focused ones.
    explicit round_control(const image_ptr (&corners)[8]);

    void update(unsigned long) override {}
    void layout() override {}
    void draw(i_graphics& g, bool force) override;

    virtual void set_focused(bool f) { focused = f; }
    virtual bool is_focused() const { return focused; }
    virtual void set_top_focused(bool f) { top_focused = f; }
    virtual void set_bottom_focused(bool f) { bottom_focused = f; }

protected:
    image_ptr corners[8];
    bool focused = false;
    bool top_focused = false;
    bool bottom_focused = false;
};

} // namespace ui
} // namespace cl
