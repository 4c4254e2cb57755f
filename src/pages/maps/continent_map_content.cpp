#include "pages/maps/continent_map_content.h"

#include "model/model.h"
#include "model/weather/manager.h"
#include "pages/maps/map_projection.h"
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
        zones.push_back(zone_entry{z->id(), r});
    }
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
    if (focus_index >= zones.size())
        return;
    const platform::RECT& z = zones[focus_index].rect;
    const platform::RECT& v = view_rect;
    g.draw_frame(
        platform::RECT{v.left - x + z.left, v.top - y + z.top, v.left - x + z.right, v.top - y + z.bottom},
        0xFFFFFF);
}

} // namespace zor
