#pragma once

#include "weather_service.h"

#include <map>
#include <string>
#include <vector>

namespace server {

// English country names by ISO 3166-1 two-letter code (GeoNames' country column), from the iso-codes JSON
// table: the common name where it has one ("South Korea", not "Korea, Republic of"). False with a reason when
// the text is not such a table.
bool parse_country_names(const std::string& json, std::map<std::string, std::string>& out,
                         std::string& error);
bool read_country_names(const std::string& path, std::map<std::string, std::string>& out, std::string& error);

// Gives each city its country's name; a code the table lacks (GeoNames' XK) stays as it is.
void name_countries(std::vector<city_record>& cities, const std::map<std::string, std::string>& names);

} // namespace server
