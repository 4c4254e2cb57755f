#include "pages/maps/zone_map_content.h"

#include "chrome/command_bar.h"
#include "model/model.h"
#include "model/options.h"
#include "model/weather/manager.h"
#include "model/weather/units.h"
#include "pages/maps/map_projection.h"
#include "ui/static_fonts.h"
#include "utils/log.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cwchar>

namespace zor {

const wchar_t* const zone_map_content::add_command = L"Add city";
const wchar_t* const zone_map_content::temperature_sample = L"00 C";

zone_map_content::zone_map_content(const std::vector<std::wstring>& params, options* opts,
                                   ui::command_bar* commands)
    : font(cl::ui::fonts::tahoma_22), opts(opts), commands(commands) {
    region_code = params.size() > 0 ? params[0] : std::wstring();
    region_name = params.size() > 1 ? params[1] : std::wstring();
    zone_key = params.size() > 2 ? params[2] : std::wstring();
    if (auto manager = zor::model::weather_manager()) {
        for (const auto& r : manager->regions()) {
            if (r->id() == region_code)
                region = r;
        }
    }
    // The tab is made with the page, so the name is read now: the continent map has loaded the region.
    if (region) {
        weather::children_lock<weather::zone_map> zones(region);
        if (zones) {
            for (const weather::zone_ptr& z : *zones)
                if (z->id() == zone_key)
                    zone_title = z->name();
        }
    }
    if (commands)
        commands->left_clicked.connect(
            utils::function1<void, std::wstring>(this, &zone_map_content::on_command));
}

boost::shared_ptr<cl::i_async_info_object> zone_map_content::geo_object() const {
    if (zone)
        return zone;
    // The zone is found in its region; while the region loads, its failure is the map's.
    if (region && !region->is_loaded())
        return region;
    return nullptr;
}

boost::shared_ptr<cl::ui::async_picture> zone_map_content::map_picture() const {
    return zone ? zone->picture() : nullptr;
}

bool zone_map_content::is_failed() const {
    if (!zone && !zone_looked_up && region && region->is_loaded() && !region->is_failed())
        return false;
    return map_content::is_failed();
}

void zone_map_content::find_zone() {
    {
        weather::children_lock<weather::zone_map> zones(region);
        if (!zones)
            return;
        zone_looked_up = true;
        for (const weather::zone_ptr& z : *zones) {
            if (z->id() == zone_key)
                zone = z;
        }
    }
    auto manager = zor::model::weather_manager();
    if (zone && manager)
        manager->load_map(zone);
}

void zone_map_content::request_map() {
    auto manager = zor::model::weather_manager();
    if (!manager || !region)
        return;
    // A zone map opened from the history after another region was shown needs its region first.
    if (region->is_loaded())
        find_zone();
    else
        manager->load_region(region);
}

void zone_map_content::update(unsigned long now_ms) {
    if (!zone && region && region->is_loaded() && !is_loaded())
        find_zone();
    map_content::update(now_ms);
    if (!command_shown) {
        // The page sets its labels after the contents are made: the command goes on at the first frame.
        command_shown = true;
        show_command();
    }
}

std::wstring zone_map_content::temperature_text(const std::wstring& celsius) const {
    // The server sends whole degrees Celsius; anything else is shown as it came.
    const wchar_t* begin = celsius.c_str();
    wchar_t* end = nullptr;
    errno = 0;
    const long value = std::wcstol(begin, &end, 10);
    if (end == begin || *end != L'\0' || errno == ERANGE || value < -1000 || value > 1000)
        return celsius;
    const bool imperial = opts && opts->flag(L"1.1");
    const int unit = imperial ? units::fahrenheit : units::celsius;
    wchar_t text[24];
    std::swprintf(text, 24, L"%d %ls", units::shown_temperature(unit, static_cast<double>(value)),
                  units::temperature_name(unit));
    return text;
}

void zone_map_content::build_items() {
    cities.clear();
    const map_frame frame{zone->center_latitude(), zone->center_longitude(), zone->distance(),
                          zone->aspect_ratio(), picture_width()};
    weather::children_lock<weather::city> children(zone);
    if (!children)
        return;
    for (const weather::city_ptr& c : *children) {
        platform::POINT at;
        // A zone whose numbers make no sense (no distance, no aspect) places no city rather than all of
        // them on one spot.
        if (!project(frame, c->latitude(), c->longitude(), at))
            continue;
        const platform::POINT anchor{picture_width() / 2 + at.x, picture_height() / 2 - at.y};
        if (anchor.x < 0 || anchor.y < 0 || anchor.x >= picture_width() || anchor.y >= picture_height())
            continue;
        city_entry e;
        e.key = c->id();
        e.name = c->name();
        e.temperature = temperature_text(c->temperature());
        e.label.anchor = anchor;
        cities.push_back(e);
    }
    layout_labels = true;
}

void zone_map_content::place(cl::ui::i_graphics& g) {
    // Boxes share the sample's width; a wider text ("-13 F") widens its own box rather than being cut.
    const int sample = g.text_width(temperature_sample, font);
    std::vector<map_label> labels;
    for (city_entry& c : cities) {
        c.label.temperature_width = std::max(sample, g.text_width(c.temperature, font)) + box_padding;
        c.label.name_width = g.text_width(c.name, font) + box_padding;
        labels.push_back(c.label);
    }
    place_labels(labels, platform::RECT{0, 0, picture_width(), picture_height()});
    for (std::size_t i = 0; i < cities.size(); ++i)
        cities[i].label = labels[i];
    layout_labels = false;
    // The focus never rests on a label that could not be shown.
    if (focus_index < cities.size() && !cities[focus_index].label.shown) {
        std::size_t first = no_focus;
        for (std::size_t i = 0; i < cities.size() && first == no_focus; ++i) {
            if (cities[i].label.shown)
                first = i;
        }
        set_focus(first);
    }
}

void zone_map_content::draw(cl::ui::i_graphics& g, bool force) {
    if (is_loaded() && layout_labels)
        place(g);
    map_content::draw(g, force);
}

void zone_map_content::draw_label(cl::ui::i_graphics& g, const city_entry& c, int dx, int dy) {
    const platform::RECT& b = c.label.box;
    const platform::RECT temperature{b.left + dx, b.top + dy, b.left + c.label.temperature_width + dx,
                                     b.bottom + dy};
    draw_text_box(g, temperature, c.temperature, font, temperature_colour, 0xFFFFFF);
    draw_text_box(g, platform::RECT{temperature.right, b.top + dy, b.right + dx, b.bottom + dy}, c.name, font,
                  0xFFFFFF, 0x000000);
}

void zone_map_content::draw_items(cl::ui::i_graphics& g, int x, int y) {
    // Labels are kept on the picture; the view shows the picture from (x, y).
    const int dx = view_rect.left - x, dy = view_rect.top - y;
    for (const city_entry& c : cities) {
        if (c.label.shown && in_clear_view(c.label.box, x, y))
            draw_label(g, c, dx, dy);
    }
    if (focus_index >= cities.size() || !cities[focus_index].label.shown)
        return;
    // The focused label once more, on top of its neighbours, and framed.
    const city_entry& f = cities[focus_index];
    draw_label(g, f, dx, dy);
    const platform::RECT& b = f.label.box;
    g.draw_frame(platform::RECT{b.left + dx - 2, b.top + dy - 2, b.right + dx + 1, b.bottom + dy + 1},
                 0xFFFFFF);
}

void zone_map_content::show_command() {
    if (!commands)
        return;
    const bool missing = opts && focus_index < cities.size() && cities[focus_index].label.shown &&
                         !opts->cities().count(cities[focus_index].key);
    commands->set_left_label(missing ? add_command : L"");
}

void zone_map_content::deactivate() {
    if (commands)
        commands->set_left_label(L"");
}

void zone_map_content::open_focused() {
    if (focus_index >= cities.size())
        return;
    // The forecast page takes the name for a city it does not know yet.
    content_state s(page_name(), cities[focus_index].key);
    s.params = {cities[focus_index].key, cities[focus_index].name};
    request(s);
}

void zone_map_content::on_command(std::wstring label) {
    if (label != add_command || !opts || focus_index >= cities.size())
        return;
    const city_entry& c = cities[focus_index];
    if (!opts->cities().count(c.key)) {
        opts->cities()[c.key] = c.name.empty() ? c.key : c.name;
        opts->order().push_back(c.key);
        opts->save_pending = true;
        // Written now: the map stays open, and the city must not be lost if the panel stops here.
        if (!opts->save())
            utils::log(L"Options could not be saved");
    }
    show_command();
}

} // namespace zor
