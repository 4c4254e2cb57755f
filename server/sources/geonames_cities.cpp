#include "geonames_cities.h"

#include "text_file.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace server {

namespace {

constexpr std::size_t max_cities = 500000;

bool number(const std::string& text, double low, double high, double& out) {
    if (text.empty())
        return false;
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return *end == '\0' && std::isfinite(out) && out >= low && out <= high;
}

} // namespace

std::vector<city_record> parse_geonames_cities(const std::string& text) {
    std::vector<city_record> cities;
    std::istringstream lines(text);
    std::string line;
    std::vector<std::string> fields;
    while (std::getline(lines, line) && cities.size() < max_cities) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        fields.clear();
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            fields.push_back(line.substr(start, tab - start));
        fields.push_back(line.substr(start));
        // geonameid, name, asciiname, alternatenames, latitude, longitude, feature class and code, country
        // code, cc2, admin1-4 codes, population, elevation, dem, timezone, modification date.
        if (fields.size() < 15 || fields[0].empty() ||
            fields[0].find_first_not_of("0123456789") != std::string::npos || fields[1].empty())
            continue;
        city_record c;
        double population = 0;
        if (!number(fields[4], -90, 90, c.lat) || !number(fields[5], -180, 180, c.lon))
            continue;
        c.id = fields[0];
        c.name = fields[1];
        c.country = fields[8];
        if (number(fields[14], 0, 1e10, population))
            c.population = static_cast<long>(population);
        cities.push_back(c);
    }
    return cities;
}

bool read_geonames_cities(const std::string& path, std::vector<city_record>& out, std::string& error) {
    std::string text;
    if (!read_text_file(path, text, error))
        return false;
    out = parse_geonames_cities(text);
    if (out.empty()) {
        error = path + " holds no city in the GeoNames format";
        return false;
    }
    return true;
}

} // namespace server
