#pragma once

#include "fetcher.h"
#include "live_sources.h"
#include "sources_file.h"

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace server {

// Reads an answer of Open-Meteo's forecast API (one location's object, or an array of them for several):
// its "daily" weather_code, temperature_2m_min/max, precipitation_probability_max, wind_speed_10m_max
// (km/h) and uv_index_max, as the panel's forecast days. False with a reason for an error answer or a
// malformed one; a day with a missing value is dropped.
bool read_open_meteo_forecast(const std::string& json, std::vector<std::vector<forecast_day>>& locations,
                              std::string& error);
// Reads an answer of its air-quality API: the highest hourly european_aqi of each date, per location.
bool read_open_meteo_air_quality(const std::string& json, std::vector<std::map<std::string, int>>& locations,
                                 std::string& error);

// Forecasts from an Open-Meteo-shaped service, kept per city for the update interval of the sources file.
// A city whose forecast cannot be fetched again keeps the last one it had.
class open_meteo_forecasts : public forecast_source {
public:
    using logger = std::function<void(const std::string&)>;
    static constexpr std::size_t batch_size = 50;

    open_meteo_forecasts(const sources_settings& settings, fetcher& web, logger log);

    bool forecast(const city_record& city, std::vector<forecast_day>& days, std::string& error) override;
    void prefetch(const std::vector<const city_record*>& cities) override;

private:
    struct kept {
        std::vector<forecast_day> days;
        std::chrono::steady_clock::time_point fetched;
    };
    // Fetches the cities in one request; false with the reason when nothing came back.
    bool fetch(const std::vector<const city_record*>& cities, std::string& error);
    bool fresh(const std::string& id);

    sources_settings config;
    fetcher& web;
    logger log;
    std::mutex m;
    std::map<std::string, kept> cache;
};

} // namespace server
