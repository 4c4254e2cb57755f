#pragma once

#include "map_projection.h"

#include <map>
#include <string>
#include <vector>

namespace server {

struct city_record {
    std::string id;
    std::string name;
    std::string country;
    double lat = 0;
    double lon = 0;
    std::string climate; // the demo's made-up forecasts follow it
    long population = 0;
};

struct zone_record {
    std::string id;
    std::string name;
    map_frame frame;
};

struct region_record {
    std::string id;
    std::string picture; // "/mapdata/Mobile_Europe.jpeg"
    map_frame frame;
    std::vector<zone_record> zones;
};

struct forecast_day {
    std::string date; // YYYY-MM-DD
    std::string precipitation;
    std::string sky;
    int t_min = 0;
    int t_max = 0;
    double wind_speed = 0;
    std::string icon; // the code of the state icon
    int air_quality = 0;
    int uv_index = 0;
};

// Cities of the world, the map tree of the world view and forecasts made up plausibly from each city's
// climate, latitude and season; the same city and day always give the same forecast.
class weather_service {
public:
    static constexpr int region_picture_width = 800;
    static constexpr int zone_picture_width = 800;

    // Reads weather/cities.tsv of the content folder.
    explicit weather_service(const std::string& content_dir);
    // Over a list of cities read elsewhere.
    explicit weather_service(std::vector<city_record> cities);

    const std::vector<city_record>& cities() const { return all; }
    const std::vector<region_record>& regions() const { return map_tree; }
    const region_record* region(const std::string& id) const;
    const zone_record* zone(const std::string& id) const;
    const city_record* city(const std::string& id) const;
    // Case-insensitive: names starting with the text first, then names holding it; at most 30.
    std::vector<const city_record*> search(const std::string& text) const;
    // The cities that fall inside a zone's picture.
    std::vector<const city_record*> cities_in(const zone_record& zone) const;
    // Days from the given date (days since 1970-01-01, UTC) on.
    std::vector<forecast_day> forecast(const city_record& c, long first_day, int days) const;
    // The temperature now, as the zone maps show it.
    int current_temperature(const city_record& c, long today) const;

    // Every map picture path with its frame.
    std::vector<std::pair<std::string, map_frame>> map_pictures() const;

private:
    void build();

    std::vector<city_record> all;
    std::map<std::string, std::size_t> by_id;
    std::vector<region_record> map_tree;
};

long days_since_epoch_today();
std::string date_text(long day);

} // namespace server
