// The region document: any bytes in, zone maps or a clean error out.
#include "model/weather/loaders.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    weather_impl::region_map_impl region(L"2", nullptr, 49.3, 15.2, 1.25, 5786.7);
    try {
        weather_impl::read_region(region, text.c_str());
    } catch (const std::exception&) {
    }
    return 0;
}
