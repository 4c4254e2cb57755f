#include "chrome/header_bar.h"

#include "model/model.h"
#include "model/options.h"
#include "model/weather/manager.h"
#include "model/weather/weather_day_text.h"
#include "ui/graphics.h"
#include "ui/resources.h"
#include "ui/static_fonts.h"
#include "ui/ui_error.h"

namespace zor {
namespace ui {

constexpr platform::RECT header_bar::logo_area;

namespace {
const int icon_size = 48;

// The city whose option is on, in the order of the user's cities.
bool home_city(std::wstring& id, std::wstring& name) {
    zor::options& opts = zor::options::instance();
    for (const std::wstring& each : opts.order()) {
        auto flag = opts.settings_map().find(each);
        if (flag != opts.settings_map().end() && flag->second) {
            id = each;
            auto named = opts.cities().find(each);
            name = named != opts.cities().end() ? named->second : each;
            return true;
        }
    }
    return false;
}
} // namespace

header_bar::header_bar()
    : background(cl::ui::load_image(cl::ui::resources::path(L"header")), false, cl::ui::picture::top_left),
      weather_icon(cl::ui::picture::top_left),
      name_text(L"", 0xFFFFFF, cl::ui::fonts::tahoma_22, cl::ui::align_left),
      temperature_text(L"", 0xFFFFFF, cl::ui::fonts::tahoma_22, cl::ui::align_left) {}

void header_bar::clear_weather() {
    city_name.clear();
    shown_id.clear();
    shown_version = 0;
    weather_icon.set_image(cl::ui::image_ptr(), true);
    name_text.set_text(L"");
    temperature_text.set_text(L"");
    dirty = true;
}

void header_bar::update(unsigned long now_ms) {
    std::wstring id, name;
    auto manager = zor::model::weather_manager();
    if (!manager || !home_city(id, name)) {
        if (!city_name.empty())
            clear_weather();
        waiting = false;
        return;
    }
    const auto now = static_cast<std::uint32_t>(now_ms);
    if (!shown_id.empty() && id != shown_id)
        clear_weather(); // the old home city goes at once, while the new one loads
    weather::city_ptr city = manager->get_city(id, name);
    const bool missing = !city->is_loaded();
    const bool old = !missing && now - city->load_time() >= refresh_ms;
    const bool may_ask = !requested || id != requested_id || now - requested_at >= retry_ms;
    if ((missing || old) && may_ask && !city->is_queued()) {
        manager->load_city(city);
        requested = true;
        requested_at = now;
        requested_id = id;
    }
    waiting = missing || city->is_failed();
    if (missing || (city->load_time() == shown_version && id == shown_id && !force))
        return;
    std::wstring icon, temperatures;
    if (weather::forecast_lock days(city); days && !days->empty()) {
        zor::weather_day_text today(zor::options::instance(), *days->front());
        icon = today.icon_image();
        std::wstring high = today.t_max_text(false);
        while (!high.empty() && high.back() == L' ')
            high.pop_back();
        temperatures = high + L" / " + today.t_min_text(true);
    }
    cl::ui::image_ptr picture;
    if (!icon.empty()) {
        try {
            picture = cl::ui::load_image(cl::ui::resources::path(icon));
        } catch (const cl::ui::res_error&) {
            // A weather code without a picture shows the texts alone.
        }
    }
    weather_icon.set_image(picture, true);
    city_name = city->name().empty() ? name : city->name();
    name_text.set_text(city_name);
    temperature_text.set_text(temperatures);
    shown_version = city->load_time();
    shown_id = id;
    force = false;
    place_weather();
    dirty = true;
}

void header_bar::place_weather() {
    const int left = weather_rect.left + 8;
    const int top = weather_rect.top + (weather_rect.bottom - weather_rect.top - icon_size) / 2;
    weather_icon.set_rect(platform::RECT{left, top, left + icon_size, weather_rect.bottom});
    weather_icon.layout();
    const int text_left = left + icon_size + 8;
    name_text.set_rect(
        platform::RECT{text_left, weather_rect.top + 3, weather_rect.right - 6, weather_rect.top + 28});
    temperature_text.set_rect(
        platform::RECT{text_left, weather_rect.top + 28, weather_rect.right - 6, weather_rect.bottom - 1});
}

void header_bar::layout() {
    background.set_rect(rect);
    background.layout();
    const platform::RECT image = background.get_rect();
    rect.bottom = rect.top + (image.bottom - image.top);
    // The picture's deeper panel at the right holds the home city's weather.
    const int weather_width = cl::ui::resources::is_portrait() ? 230 : 300;
    weather_rect = platform::RECT{rect.right - weather_width, rect.top, rect.right, rect.bottom};
    place_weather();
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
    else if (where == weather && !city_name.empty())      // nothing to open while no city is shown
        clicked(std::wstring(L"weather_item"), shown_id); // the forecast is asked for by the city's id
}

void header_bar::draw(cl::ui::i_graphics& g, bool force) {
    if (!begin_draw(force))
        return;
    background.draw(g, true);
    if (!city_name.empty()) {
        weather_icon.draw(g, true);
        g.draw_text_clipped(name_text.get_text(), name_text.get_rect(), name_text.get_rect(),
                            cl::ui::fonts::tahoma_22, 0xFFFFFF, cl::ui::align_left);
        g.draw_text_clipped(temperature_text.get_text(), temperature_text.get_rect(),
                            temperature_text.get_rect(), cl::ui::fonts::tahoma_22, 0xFFFFFF,
                            cl::ui::align_left);
    }
    g.invalidate(rect);
}

} // namespace ui
} // namespace zor
