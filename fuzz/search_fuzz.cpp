// The city search document: any bytes in, found cities or a clean error out.
#include "model/weather/loaders.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    weather_impl::city_search_impl search(L"par");
    try {
        weather_impl::read_search(search, text.c_str());
    } catch (const std::exception&) {
    }
    return 0;
}
