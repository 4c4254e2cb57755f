#pragma once

#include "news_source.h"
#include "raster.h"
#include "weather_service.h"

#include <memory>
#include <string>
#include <vector>

namespace server {

// Forecasts from a real service.
class forecast_source {
public:
    virtual ~forecast_source() = default;
    // The days from today on; false with a reason when there is no forecast for the city.
    virtual bool forecast(const city_record& city, std::vector<forecast_day>& days, std::string& error) = 0;
    // Asks for many cities' forecasts at once (a zone map's); what is not fetched is asked for one by one.
    virtual void prefetch(const std::vector<const city_record*>& cities) { (void)cities; }
};

// Pictures named by an address in a feed, fitted to the size asked.
class picture_source {
public:
    virtual ~picture_source() = default;
    virtual bool picture(const std::string& url, int width, int height, raster& out, std::string& error) = 0;
};

// What replaces the demo content when real sources are named; a null member keeps the demo's.
struct live_sources {
    std::shared_ptr<news_source> news;
    std::shared_ptr<forecast_source> forecasts;
    std::shared_ptr<picture_source> pictures;
    std::shared_ptr<const std::vector<city_record>> cities;
};

} // namespace server
