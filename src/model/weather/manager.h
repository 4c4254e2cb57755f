#pragma once

#include "model/weather/weather.h"

#include <map>

namespace weather {

// The world's map tree (eight built-in regions) and the cities asked for by id.
class manager {
public:
    manager();
    manager(const manager&) = delete;
    manager& operator=(const manager&) = delete;

    const std::vector<region_ptr>& regions() const { return region_list; }
    // The city stored under the id, made (with this name) on first request.
    city_ptr get_city(const std::wstring& id, const std::wstring& name);
    search_ptr create_search(const std::wstring& query);
    void load_city(const city_ptr& c);
    void load_search(const search_ptr& s);
    void load_map(const zone_ptr& z);
    // Empties every region, then queues the one asked for: one region in memory at a time.
    void load_region(const region_ptr& r);

private:
    std::vector<region_ptr> region_list;
    std::map<std::wstring, city_ptr> cities;
};

} // namespace weather
