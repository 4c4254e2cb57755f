#pragma once

namespace cl {
namespace ui {

// Horizontal drags for controls that scroll sideways; ignored unless a control takes them.
class i_x_scrollable {
public:
    virtual ~i_x_scrollable() = default;
    virtual void scroll_x(int) {}
};

// Vertical drags: page contents and lists scroll by the finger's movement.
class i_y_scrollable {
public:
    virtual ~i_y_scrollable() = default;
    virtual void scroll_y(int) {}
};

} // namespace ui
} // namespace cl
