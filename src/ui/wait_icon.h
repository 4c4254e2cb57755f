#pragma once

#include "ui/control_base.h"

namespace cl {
namespace ui {

// A ring of eight grey dots, one in each cell of the square's border, whose shading runs round, one step
// every second frame.
class wait_icon : public control_base {
public:
    static constexpr int side = 200;

    wait_icon();
    // Centres the 200 x 200 square in the rectangle.
    void set_rect(const platform::RECT& r) override;
    void update(unsigned long now_ms) override;
    void layout() override { dirty = true; }
    void draw(i_graphics& g, bool force) override;

    int get_phase() const { return phase; }
    platform::RECT cell(int i) const { return cells[i]; }
    // The top left corner of the dot drawn in cell i.
    platform::POINT dot(int i) const { return dots[i]; }

private:
    platform::COLORREF palette[32];
    platform::RECT cells[8];
    platform::POINT dots[8];
    int phase = 31;
    int step_divisor = 2;
    int counter = 0;
};

} // namespace ui
} // namespace cl
