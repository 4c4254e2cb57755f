// A forecast service's answers: any bytes in, forecast days or a clean error out.
#include "open_meteo.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string json(reinterpret_cast<const char*>(data), size);
    std::vector<std::vector<server::forecast_day>> days;
    std::vector<std::map<std::string, int>> air;
    std::string error;
    server::read_open_meteo_forecast(json, days, error);
    server::read_open_meteo_air_quality(json, air, error);
    return 0;
}
