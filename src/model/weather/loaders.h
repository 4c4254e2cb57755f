#pragma once

#include "model/weather/weather_impl.h"
#include "net/document_fetch.h"

// The four weather documents, each fetched from the weather host into its target on the loading thread.
// A missing required element or attribute raises "Invalid XML document"; what was read before it stays.
namespace weather_impl {

class region_loader {
public:
    virtual ~region_loader() = default;
    virtual void load() = 0;
};
class location_loader {
public:
    virtual ~location_loader() = default;
    virtual void load() = 0;
};
class city_search_loader {
public:
    virtual ~city_search_loader() = default;
    virtual void load() = 0;
};
class forecast_loader {
public:
    virtual ~forecast_loader() = default;
    virtual void load() = 0;
};

// "/zorwmaps?pmap=" + region id: the zone maps of a region.
class http_region_loader : public region_loader {
public:
    explicit http_region_loader(region_map_impl& target) : target(&target) {}
    void load() override;

private:
    region_map_impl* target;
};

// "/zorwmaps?mapid=" + zone id: the zone's picture, centre and cities.
class http_location_loader : public location_loader {
public:
    explicit http_location_loader(zone_map_impl& target) : target(&target) {}
    void load() override;

private:
    zone_map_impl* target;
};

// "/zorweather?searchcity=" + query: the cities found.
class http_search_loader : public city_search_loader {
public:
    explicit http_search_loader(city_search_impl& target) : target(&target) {}
    void load() override;

private:
    city_search_impl* target;
};

// "/zorweather?requestcity=" + city id: the days of the forecast.
class http_forecast_loader : public forecast_loader {
public:
    explicit http_forecast_loader(city_impl& target) : target(&target) {}
    void load() override;
    // Reads the held copy of the forecast without asking the network; true when there was one with days
    // from today on (the past days are left out).
    bool load_held_copy();

private:
    city_impl* target;
};

// The host of the weather documents and map pictures.
std::wstring weather_host();

// The document parts of the four loaders: they read the document text into the target.
void read_region(region_map_impl& target, const char* document);
void read_zone(zone_map_impl& target, const char* document, const std::wstring& host);
void read_search(city_search_impl& target, const char* document);
// With `today` (year-month-day), days before it are left out, and a forecast with none left raises.
void read_forecast(city_impl& target, const char* document, const std::wstring& today = std::wstring());

} // namespace weather_impl
