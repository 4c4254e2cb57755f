#pragma once

#include <map>
#include <string>
#include <vector>

namespace server {

// One feed of a category, with its own refresh interval.
struct feed_source {
    std::string url;
    int refresh_minutes = 15;
};

// What the sources file says: which feeds fill each category of config.xml, and where forecasts and cities
// come from. The format is described in the README ("Real sources").
struct sources_settings {
    std::map<std::string, std::vector<feed_source>> categories; // by category url, "/news/world"
    std::string forecast_url;                                   // Open-Meteo's forecast endpoint
    std::string air_quality_url;                                // Open-Meteo's air-quality endpoint
    std::string cities_file;                                    // GeoNames "cities" table, absolute path
    // The cities' country names, from Debian's iso-codes package unless the file names another table.
    std::string countries_file = "/usr/share/iso-codes/json/iso_3166-1.json";
    int forecast_minutes = 60; // how long a city's forecast is kept
    int items_per_category = 30;
    bool allow_private_addresses = false; // loopback, private and link-local hosts (tests, intranets)
};

// Reads the file; false with the line and reason in error. Relative paths are taken from the file's folder.
bool read_sources_file(const std::string& path, sources_settings& out, std::string& error);
// The same for text already read; folder is where relative paths start.
bool parse_sources(const std::string& text, const std::string& folder, sources_settings& out,
                   std::string& error);

} // namespace server
