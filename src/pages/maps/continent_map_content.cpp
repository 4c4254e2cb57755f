#include "pages/maps/continent_map_content.h"

#include "model/model.h"
#include "model/weather/manager.h"
#include "pages/maps/map_projection.h"
#include "ui/static_fonts.h"
#include "utils/errors.h"

#include <cmath>

namespace zor {

continent_map_content::continent_map_content(const std::wstring& code, const std::wstring& name)
    : region_code(code), region_name(name) {
    if (auto manager = zor::model::weather_manager()) {
        for (const auto& r : manager->regions()) {
            if (r->id() == code)
                region = r;
        }
    }
}

void continent_map_content::request_map() {
    auto manager = zor::model::weather_manager();
    if (!manager || !region)
        return;
    // Reloaded on every visit; the other regions give their memory back.
    manager->load_region(region);
    zor::model::load_picture(region->picture());
}

boost::shared_ptr<cl::ui::async_picture> continent_map_content::map_picture() const {
    return region ? region->picture() : nullptr;
}

void continent_map_content::build_items() {
    zones.clear();
    const map_frame frame{region->center_latitude(), region->center_longitude(), region->distance(),
                          region->aspect_ratio(), picture_width()};
    weather::children_lock<weather::zone_map> children(region);
    if (!children)
        return;
    for (const weather::zone_ptr& z : *children) {
        platform::POINT at;
        // A zone whose numbers cannot be placed is left off the map rather than drawn anywhere.
        const double extent = z->distance();
        if (!std::isfinite(extent) || extent <= 0 ||
            !project(frame, z->center_latitude(), z->center_longitude(), at))
            continue;
        // A zone map spans its distance across and down, as the continent's picture does.
        const double half_w = extent * frame.scale_x() / 2, half_h = extent * frame.scale_y() / 2;
        if (half_w > picture_width() || half_h > picture_height())
            continue;
        const int cx = picture_width() / 2 + at.x, cy = picture_height() / 2 - at.y;
        const platform::RECT r{cx - static_cast<int>(half_w), cy - static_cast<int>(half_h),
                               cx + static_cast<int>(half_w), cy + static_cast<int>(half_h)};
        // Only zones that show on the picture can be chosen.
        if (r.right <= 0 || r.bottom <= 0 || r.left >= picture_width() || r.top >= picture_height())
            continue;
        zones.push_back(zone_entry{z->id(), r, z->name(), map_label{}});
    }
    layout_labels = true;
}

void continent_map_content::place(cl::ui::i_graphics& g) {
    std::vector<map_label> labels;
    for (zone_entry& z : zones) {
        map_label l;
        l.name_width = z.name.empty() ? 0 : g.text_width(z.name, cl::ui::fonts::tahoma_22) + label_padding;
        l.anchor = platform::POINT{z.rect.left + corner_inset + (l.name_width + 1) / 2,
                                   z.rect.top + corner_inset + label_rise};
        labels.push_back(l);
    }
    place_labels(labels, platform::RECT{0, 0, picture_width(), picture_height()});
    for (std::size_t i = 0; i < zones.size(); ++i) {
        zones[i].label = labels[i];
        zones[i].label.shown = labels[i].shown && !zones[i].name.empty();
    }
    layout_labels = false;
}

void continent_map_content::draw(cl::ui::i_graphics& g, bool force) {
    if (is_loaded() && layout_labels)
        place(g);
    map_content::draw(g, force);
}

void continent_map_content::free_content() {
    utils::trace_scope trace("void continent_map_content::free_content()");
    map_content::free_content();
}

void continent_map_content::open_focused() {
    if (focus_index >= zones.size())
        return;
    request(content_state(page_name(), region_code, region_name, zones[focus_index].key));
}

void continent_map_content::draw_items(cl::ui::i_graphics& g, int x, int y) {
    const int dx = view_rect.left - x, dy = view_rect.top - y;
    auto label = [&](const zone_entry& z, platform::COLORREF fill, platform::COLORREF ink) {
        const platform::RECT& b = z.label.box;
        draw_text_box(g, platform::RECT{b.left + dx, b.top + dy, b.right + dx, b.bottom + dy}, z.name,
                      cl::ui::fonts::tahoma_22, fill, ink);
    };
    for (std::size_t i = 0; i < zones.size(); ++i) {
        if (i != focus_index && zones[i].label.shown && in_clear_view(zones[i].label.box, x, y))
            label(zones[i], 0xFFFFFF, 0x000000);
    }
    if (focus_index >= zones.size())
        return;
    const zone_entry& f = zones[focus_index];
    g.draw_frame(platform::RECT{f.rect.left + dx, f.rect.top + dy, f.rect.right + dx, f.rect.bottom + dy},
                 0xFFFFFF);
    if (f.label.shown)
        label(f, focused_colour, 0xFFFFFF);
}

} // namespace zor
