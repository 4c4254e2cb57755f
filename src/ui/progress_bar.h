#pragma once

#include "ui/control_base.h"

namespace cl {
namespace ui {

// A track and a bar that grows with the percentage, with a knob at its end.
class progress_bar : public control_base {
public:
    // Places the trough and the bar inside.
    void set_rect(const platform::RECT& r) override;
    void update(unsigned long) override {}
    void layout() override {}
    void draw(i_graphics& g, bool force) override;

    void set_progress(int percent);
    platform::RECT bar_rect() const { return bar; }
    platform::RECT inner_rect() const { return inner; }

private:
    double pixels_per_percent = 0;
    platform::RECT inner;
    platform::RECT bar;
};

} // namespace ui
} // namespace cl
