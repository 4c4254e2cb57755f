// The zone map document: any bytes in, a picture and cities or a clean error out.
#include "model/weather/loaders.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    weather_impl::zone_map_impl zone(L"z", nullptr, 50, 10, 1.25, 900);
    try {
        weather_impl::read_zone(zone, text.c_str(), L"host");
    } catch (const std::exception&) {
    }
    // Cities are read only after the picture.
    if (zone.child_count() > 0 && !zone.picture())
        __builtin_trap();
    return 0;
}
