#pragma once

#include "chrome/tap_tracker.h"
#include "ui/picture.h"
#include "utils/signal.h"

#include <string>

namespace zor {
namespace ui {

// The red bar at the top of every page: the logo leads home, the weather area to the home city's
// forecast.
class header_bar : public cl::ui::i_control {
public:
    // Relative to the bar's top-left corner.
    static constexpr platform::RECT logo_area{4, 4, 95, 52};

    header_bar();

    // (page, name): ("home", "") from the logo, ("weather_item", city) from the weather area.
    utils::signal<utils::function2<void, std::wstring, std::wstring>> clicked;

    bool is_visible() const override { return visible; }
    void set_visible(bool v) override;
    bool is_dirty() const override { return dirty; }
    void set_dirty(bool d) override { dirty = d; }
    platform::RECT get_rect() const override { return rect; }
    void set_rect(const platform::RECT& r) override { rect = r; }
    void update(unsigned long) override {}
    // Takes the background picture's height.
    void layout() override;
    void draw(cl::ui::i_graphics& g, bool force) override;
    void on_pen_down(const platform::POINT& p) override;
    void on_pen_up(const platform::POINT& p) override;

    platform::RECT logo_rect() const;
    platform::RECT weather_area() const { return weather_rect; }
    const std::wstring& city() const { return city_name; }

private:
    enum area { none, logo, weather };
    area area_at(const platform::POINT& p) const;

    platform::RECT rect;
    cl::ui::picture background;
    bool visible = true;
    bool dirty = true;
    platform::RECT weather_rect;
    tap_tracker tap;
    area pressed_area = none;
    std::wstring city_name;
};

} // namespace ui
} // namespace zor
