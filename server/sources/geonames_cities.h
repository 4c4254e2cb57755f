#pragma once

#include "weather_service.h"

#include <string>
#include <vector>

namespace server {

// Reads a GeoNames "cities" table as published (cities15000.txt and the like: tab-separated, 19 columns,
// UTF-8): the geoname id, name, latitude, longitude, country code and population of each line. Malformed
// lines are skipped; false when the file cannot be read or holds no city.
bool read_geonames_cities(const std::string& path, std::vector<city_record>& out, std::string& error);
// The same over text already read.
std::vector<city_record> parse_geonames_cities(const std::string& text);

} // namespace server
