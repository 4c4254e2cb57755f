#pragma once

#include "ui/affectors.h"
#include "ui/control_base.h"

namespace zor {
namespace ui {

// The opening transition of a page: two half pictures of the screen slide apart to the left and right,
// uncovering the page underneath.
class opening_control : public cl::ui::control_base {
public:
    static constexpr double speed = 0.3; // pixels per millisecond

    opening_control();

    void start(const cl::ui::image_ptr& left_half, const cl::ui::image_ptr& right_half);
    bool is_running() const { return running; }
    // The halves' distance from the middle, counted down to 0.
    double position() const { return anim.value(0); }

    bool is_visible() const override { return running; }
    void set_visible(bool) override {}
    void update(unsigned long now_ms) override;
    void layout() override {}
    void draw(cl::ui::i_graphics& g, bool force) override;

private:
    cl::ui::image_ptr left_image;
    cl::ui::image_ptr right_image;
    cl::aff::linear_affector anim;
    bool running = false;
};

} // namespace ui
} // namespace zor
