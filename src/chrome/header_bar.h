#pragma once

#include "chrome/tap_tracker.h"
#include "ui/control_base.h"
#include "ui/picture.h"
#include "ui/text_block.h"
#include "utils/signal.h"

#include <cstdint>
#include <string>

namespace zor {
namespace ui {

// The red bar at the top of every page: the logo leads home; the weather area shows the home city's weather
// of today (refreshed hourly) and leads to its forecast.
class header_bar : public cl::ui::control_base {
public:
    // Relative to the bar's top-left corner.
    static constexpr platform::RECT logo_area{4, 4, 95, 52};
    static constexpr std::uint32_t refresh_ms = 3600000;
    // A failed load is asked for again after this long, not at every frame.
    static constexpr std::uint32_t retry_ms = 60000;

    header_bar();

    // (page, name): ("home", "") from the logo, ("weather_item", city) from the weather area.
    utils::signal<utils::function2<void, std::wstring, std::wstring>> clicked;

    // Shows the home city's weather once it is loaded, and asks for it when it is missing or old.
    void update(unsigned long now_ms) override;
    // Show the weather again at the next update (the settings changed).
    void refresh() { force = true; }
    // Takes the background picture's height.
    void layout() override;
    void draw(cl::ui::i_graphics& g, bool force) override;
    void on_pen_down(const platform::POINT& p) override;
    void on_pen_up(const platform::POINT& p) override;

    platform::RECT logo_rect() const;
    const std::wstring& city() const { return city_name; }
    const std::wstring& temperatures() const { return temperature_text.get_text(); }
    bool shows_weather() const { return !city_name.empty(); }

private:
    enum area { none, logo, weather };
    area area_at(const platform::POINT& p) const;
    void clear_weather();
    void place_weather();

    cl::ui::picture background;
    cl::ui::picture weather_icon;
    cl::ui::text_block name_text;
    cl::ui::text_block temperature_text;
    std::uint32_t shown_version = 0;
    std::wstring shown_id;
    bool waiting = false;
    bool force = false;
    std::uint32_t requested_at = 0;
    bool requested = false;
    // The city last asked for: the retry pause belongs to it, not to a newly chosen home city.
    std::wstring requested_id;
    platform::RECT weather_rect;
    tap_tracker tap;
    area pressed_area = none;
    std::wstring city_name;
};

} // namespace ui
} // namespace zor
