#pragma once

#include "ui/round_control.h"

namespace zor {
namespace ui {

// A vertical scroll bar: two small arrows with a red thumb between them that moves along a track as the
// content scrolls, and can be dragged.
class scrollbar2 : public cl::ui::round_control {
public:
    static constexpr platform::COLORREF thumb_colour = 0x4C00FF;
    static constexpr int arrow_width = 10;

    scrollbar2();

    // Pixels the content can scroll; at least 1.
    void set_range(int pixels);
    // At least 0.
    void set_position(int pixels);
    int position() const { return pos; }
    int range() const { return span; }
    int thumb() const { return thumb_offset; }
    // Moves the thumb by dy within the track and the position with it.
    void drag_by(int dy);
    bool hit_thumb(const platform::POINT& p) const;
    int free_track() const;

    // A hidden bar has nothing to draw; it draws in full once shown again.
    bool is_dirty() const override { return visible && dirty; }
    void layout() override;
    void draw(cl::ui::i_graphics& g, bool force) override;
    void on_pen_down(const platform::POINT& p) override;
    void on_pen_move(const platform::POINT& p) override;
    void on_pen_up(const platform::POINT& p) override;

private:
    void place_thumb();

    int span = 2;
    int pos = 1;
    int thumb_offset = 0;
    platform::RECT thumb_rect;
    cl::ui::image_ptr top_arrow;
    cl::ui::image_ptr bottom_arrow;
    platform::POINT top_point;
    platform::POINT bottom_point;
    bool dragging = false;
    platform::POINT drag_point;
};

} // namespace ui
} // namespace zor
