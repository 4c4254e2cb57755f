#pragma once

#include "ui/affectors.h"
#include "ui/control_base.h"

#include <memory>
#include <string>

namespace cl {
namespace ui {

// An arrow that bounces five pixels to and fro once a second along one edge of its rectangle:
// direction 0 left edge, 1 right edge, 2 top, 3 bottom.
class oscillation_arrow : public control_base {
public:
    oscillation_arrow(int direction, const std::wstring& image_path);
    // For pictures already loaded.
    oscillation_arrow(int direction, const image_ptr& image);
    oscillation_arrow(const oscillation_arrow&) = delete;
    oscillation_arrow& operator=(const oscillation_arrow&) = delete;

    // Where the arrow stands now, along its edge of the rectangle.
    platform::RECT get_rect() const override;
    void update(unsigned long now_ms) override { affector->update(now_ms); }
    void layout() override {}
    void draw(i_graphics& g, bool force) override;

private:
    int offset() const { return static_cast<int>(affector->value(0)); }

    image_ptr image;
    std::unique_ptr<cl::aff::i_affector> affector;
    int direction;
    int image_width;
    int image_height;
};

} // namespace ui
} // namespace cl
