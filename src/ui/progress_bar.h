#pragma once

#include "ui/i_control.h"

namespace cl {
namespace ui {

// A white frame, a black trough and a red bar that grows with the percentage.
class progress_bar : public i_control {
public:
    bool is_visible() const override { return true; }
    void set_visible(bool) override {}
    platform::RECT get_rect() const override { return outer; }
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
    platform::RECT outer;
};

} // namespace ui
} // namespace cl
