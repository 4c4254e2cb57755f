#include "ui/oscillation_arrow.h"

#include "ui/graphics.h"

namespace cl {
namespace ui {

oscillation_arrow::oscillation_arrow(int direction, const std::wstring& image_path)
    : oscillation_arrow(direction, load_image(image_path)) {}

oscillation_arrow::oscillation_arrow(int direction, const image_ptr& image)
    : image(image), affector(new cl::aff::wave_affector(1.0, 5.0)), direction(direction),
      image_width(image ? image->width() : 0), image_height(image ? image->height() : 0) {}

platform::RECT oscillation_arrow::get_rect() const {
    const int v = offset();
    if (direction == 0)
        return platform::RECT{rect.left + v, rect.top + 5, rect.left + v + image_width,
                              rect.top + 5 + image_height};
    if (direction == 1)
        return platform::RECT{rect.right - v - image_width, rect.top + 5, rect.right - v,
                              rect.top + 5 + image_height};
    return rect;
}

void oscillation_arrow::draw(i_graphics& g, bool) {
    if (!visible || !image)
        return;
    const int v = offset();
    switch (direction) {
    case 0:
        g.draw_image_alpha(image, rect.left + v, rect.top + 5, 255);
        break;
    case 1:
        g.draw_image_alpha(image, rect.right - v - image_width, rect.top + 5, 255);
        break;
    case 2:
        g.draw_image_alpha(image, rect.right - 40, rect.top + v, 255);
        break;
    default:
        g.draw_image_alpha(image, rect.right - 40, rect.bottom - v - image_height, 255);
        break;
    }
}

} // namespace ui
} // namespace cl
