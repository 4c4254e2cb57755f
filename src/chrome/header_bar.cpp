#include "chrome/header_bar.h"

#include "ui/graphics.h"
#include "ui/resources.h"

namespace zor {
namespace ui {

constexpr platform::RECT header_bar::logo_area;

header_bar::header_bar()
    : background(cl::ui::load_image(cl::ui::resources::path(L"header")), false, cl::ui::picture::top_left) {}

void header_bar::set_visible(bool v) {
    if (v != visible)
        dirty = true;
    visible = v;
}

void header_bar::layout() {
    background.set_rect(rect);
    background.layout();
    const platform::RECT image = background.get_rect();
    rect.bottom = rect.top + (image.bottom - image.top);
    // The right half of the bar holds the home city's weather.
    weather_rect =
        platform::RECT{rect.left + (rect.right - rect.left) / 2, rect.top, rect.right, rect.bottom};
    dirty = true;
}

platform::RECT header_bar::logo_rect() const {
    return platform::RECT{rect.left + logo_area.left, rect.top + logo_area.top, rect.left + logo_area.right,
                          rect.top + logo_area.bottom};
}

header_bar::area header_bar::area_at(const platform::POINT& p) const {
    if (cl::ui::contains(logo_rect(), p))
        return logo;
    if (cl::ui::contains(weather_rect, p))
        return weather;
    return none;
}

void header_bar::on_pen_down(const platform::POINT& p) {
    pressed_area = area_at(p);
    if (pressed_area != none)
        tap.press(p);
}

void header_bar::on_pen_up(const platform::POINT& p) {
    const area where = pressed_area;
    pressed_area = none;
    if (!tap.release(p))
        return;
    if (where == logo)
        clicked(std::wstring(L"home"), std::wstring());
    else if (where == weather && !city_name.empty()) // nothing to open while no city is shown
        clicked(std::wstring(L"weather_item"), city_name);
}

void header_bar::draw(cl::ui::i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    dirty = false;
    if (!visible)
        return;
    background.draw(g, true);
    g.invalidate(rect);
}

} // namespace ui
} // namespace zor
