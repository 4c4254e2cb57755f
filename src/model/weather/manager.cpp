#include "model/weather/manager.h"

#include "model/model.h"
#include "model/weather/loaders.h"

namespace weather {

manager::manager() {
    struct region {
        const wchar_t* id;
        const wchar_t* picture;
        double lat, lon, distance;
    };
    static const region built_in[] = {
        {L"1", L"/mapdata/Mobile_USA.jpeg", 38.01, -95.93, 5174.6},
        {L"2", L"/mapdata/Mobile_Europe.jpeg", 49.32, 15.23, 5786.7},
        {L"3", L"/mapdata/Mobile_South_America.jpeg", -27.3, -63.9, 11505.7},
        {L"5", L"/mapdata/Mobile_Caribbean.jpeg", 19.12, -75.12, 3731.5},
        {L"6", L"/mapdata/Mobile_Mexico.jpeg", 24.03, -101.77, 3466.0},
        {L"7", L"/mapdata/Mobile_Australia.jpeg", -21.15, 145.97, 8331.8},
        {L"9", L"/mapdata/Mobile_Asia.jpeg", 31.57, 90.13, 13379.8},
        {L"10", L"/mapdata/Mobile_Africa.jpeg", 3.95, 19.74, 12945.0},
    };
    const std::wstring host = weather_impl::weather_host();
    for (const region& r : built_in) {
        using namespace cl::ui::picture_flags;
        boost::shared_ptr<cl::ui::async_picture> picture(new cl::ui::async_picture(
            r.picture, host, wait_icon, no_failure_image, cl::ui::picture::top_left, own_size, in_budget));
        region_list.push_back(
            region_ptr(new weather_impl::region_map_impl(r.id, picture, r.lat, r.lon, 1.25, r.distance)));
    }
}

city_ptr manager::get_city(const std::wstring& id, const std::wstring& name) {
    auto it = cities.find(id);
    if (it != cities.end())
        return it->second;
    city_ptr c(new weather_impl::city_impl(id, name));
    cities[id] = c;
    return c;
}

search_ptr manager::create_search(const std::wstring& query) {
    return search_ptr(new weather_impl::city_search_impl(query));
}

void manager::load_city(const city_ptr& c) {
    zor::model::load(c);
}
void manager::load_search(const search_ptr& s) {
    zor::model::load(s);
}
void manager::load_map(const zone_ptr& z) {
    zor::model::load(z);
}

void manager::load_region(const region_ptr& r) {
    for (const region_ptr& each : region_list)
        each->unload();
    zor::model::load(r);
}

} // namespace weather
