// The four weather documents: any bytes in, a filled object or a clean error out.
#include "model/weather/loaders.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        switch (data[0] % 4) {
        case 0: {
            weather_impl::region_map_impl region(L"2", nullptr, 49.3, 15.2, 1.25, 5786.7);
            weather_impl::read_region(region, text.c_str());
            break;
        }
        case 1: {
            weather_impl::zone_map_impl zone(L"z", nullptr, 50, 10, 1.25, 900);
            weather_impl::read_zone(zone, text.c_str(), L"host");
            break;
        }
        case 2: {
            weather_impl::city_search_impl search(L"par");
            weather_impl::read_search(search, text.c_str());
            break;
        }
        default: {
            weather_impl::city_impl city(L"1", L"Paris");
            weather_impl::read_forecast(city, text.c_str());
            break;
        }
        }
    } catch (const std::exception&) {
    }
    return 0;
}
