// The forecast document of a city: any bytes in, forecast days or a clean error out.
#include "model/weather/loaders.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    weather_impl::city_impl city(L"1", L"Paris");
    try {
        weather_impl::read_forecast(city, text.c_str());
    } catch (const std::exception&) {
    }
    return 0;
}
