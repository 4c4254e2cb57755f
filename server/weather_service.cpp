#include "weather_service.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <fstream>
#include <sstream>

namespace server {

namespace {

struct zone_def {
    const char* region;
    const char* id;
    const char* name;
    double lat, lon, distance;
};

// Zones of each region: a centre and the km the zone's picture spans.
const zone_def zone_defs[] = {
    {"1", "us-west", "West Coast", 40.0, -120.0, 1800},
    {"1", "us-central", "Great Plains", 40.0, -97.0, 1800},
    {"1", "us-east", "East Coast", 39.5, -77.0, 1600},
    {"1", "us-south", "Gulf Coast", 31.0, -90.0, 1800},
    {"1", "us-north", "Great Lakes", 44.0, -86.0, 1500},
    {"2", "eu-west", "Western Europe", 47.5, 1.0, 1500},
    {"2", "eu-uk", "British Isles", 54.0, -3.5, 1100},
    {"2", "eu-central", "Central Europe", 50.0, 13.0, 1400},
    {"2", "eu-north", "Scandinavia", 61.0, 16.0, 2200},
    {"2", "eu-south", "Mediterranean", 41.0, 13.0, 1900},
    {"2", "eu-east", "Eastern Europe", 52.0, 31.0, 2200},
    {"3", "sa-north", "Northern South America", 5.0, -68.0, 3000},
    {"3", "sa-brazil", "Brazil", -15.0, -48.0, 3000},
    {"3", "sa-andes", "Andes", -15.0, -73.0, 2600},
    {"3", "sa-south", "Southern Cone", -37.0, -63.0, 2600},
    {"5", "ca-greater", "Greater Antilles", 20.0, -76.0, 1500},
    {"5", "ca-lesser", "Lesser Antilles", 15.0, -62.0, 1200},
    {"5", "ca-central", "Central America", 13.5, -86.5, 1400},
    {"6", "mx-north", "Northern Mexico", 28.0, -106.0, 1400},
    {"6", "mx-central", "Central Mexico", 20.0, -100.0, 1200},
    {"6", "mx-south", "Southern Mexico", 18.0, -92.0, 1200},
    {"7", "au-east", "East Coast", -30.0, 150.0, 2000},
    {"7", "au-west", "Western Australia", -28.0, 119.0, 2400},
    {"7", "au-north", "Top End", -16.0, 133.0, 2400},
    {"7", "au-south", "South East", -36.0, 142.0, 1800},
    {"7", "au-nz", "New Zealand", -41.0, 174.0, 1600},
    {"9", "as-east", "Korea and Japan", 36.0, 132.0, 2600},
    {"9", "as-china", "China", 32.0, 112.0, 3000},
    {"9", "as-south", "South Asia", 21.0, 78.0, 3000},
    {"9", "as-southeast", "South East Asia", 8.0, 108.0, 3200},
    {"9", "as-middle", "Middle East", 28.0, 48.0, 3000},
    {"9", "as-north", "Siberia", 57.0, 95.0, 4000},
    {"10", "af-north", "North Africa", 28.0, 12.0, 3500},
    {"10", "af-west", "West Africa", 10.0, -5.0, 3000},
    {"10", "af-east", "East Africa", 0.0, 37.0, 3000},
    {"10", "af-south", "Southern Africa", -27.0, 25.0, 2800},
    {"10", "af-central", "Central Africa", -3.0, 20.0, 3000},
};

struct region_def {
    const char* id;
    const char* picture;
    double lat, lon, distance;
};
const region_def region_defs[] = {
    {"1", "/mapdata/Mobile_USA.jpeg", 38.01, -95.93, 5174.6},
    {"2", "/mapdata/Mobile_Europe.jpeg", 49.32, 15.23, 5786.7},
    {"3", "/mapdata/Mobile_South_America.jpeg", -27.3, -63.9, 11505.7},
    {"5", "/mapdata/Mobile_Caribbean.jpeg", 19.12, -75.12, 3731.5},
    {"6", "/mapdata/Mobile_Mexico.jpeg", 24.03, -101.77, 3466.0},
    {"7", "/mapdata/Mobile_Australia.jpeg", -21.15, 145.97, 8331.8},
    {"9", "/mapdata/Mobile_Asia.jpeg", 31.57, 90.13, 13379.8},
    {"10", "/mapdata/Mobile_Africa.jpeg", 3.95, 19.74, 12945.0},
};

std::uint64_t mix(std::uint64_t h) {
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ULL;
    h ^= h >> 33;
    return h;
}

std::uint64_t hash_of(const std::string& s, long salt) {
    std::uint64_t h = 1469598103934665603ULL ^ static_cast<std::uint64_t>(salt);
    for (unsigned char c : s)
        h = (h ^ c) * 1099511628211ULL;
    return mix(h);
}

// A number in [0, 1) drawn from the hash, one per purpose.
double draw(std::uint64_t h, int purpose) {
    return (mix(h + static_cast<std::uint64_t>(purpose) * 0x9E3779B97F4A7C15ULL) >> 11) *
           (1.0 / 9007199254740992.0);
}

// Lower case for the letters of city names (Latin, Latin-1 and Latin Extended-A), whatever the locale.
std::uint32_t lower(std::uint32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 32;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x138 && c != 0x149 && c != 0x17F) {
        // Pairs alternate upper, lower, with the run 0x139-0x148 and 0x179-0x17E starting on odd codes.
        const bool odd_upper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if ((c % 2 == 1) == odd_upper)
            return c + 1;
    }
    return c;
}

std::wstring lower_wide(const std::string& utf8) {
    std::wstring w;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char b = static_cast<unsigned char>(utf8[i]);
        std::uint32_t c;
        int extra;
        if (b < 0x80) {
            c = b, extra = 0;
        } else if ((b & 0xE0) == 0xC0) {
            c = b & 0x1F, extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            c = b & 0x0F, extra = 2;
        } else {
            c = b & 0x07, extra = 3;
        }
        ++i;
        for (int k = 0; k < extra && i < utf8.size(); ++k, ++i)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
        w += static_cast<wchar_t>(lower(c));
    }
    return w;
}

} // namespace

long days_since_epoch_today() {
    return static_cast<long>(std::time(nullptr) / 86400);
}

std::string date_text(long day) {
    std::time_t t = static_cast<std::time_t>(day) * 86400;
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &tm);
    return text;
}

weather_service::weather_service(const std::string& content_dir) {
    std::ifstream in(content_dir + "/weather/cities.tsv");
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        city_record c;
        std::string lat, lon;
        if (!std::getline(fields, c.id, '\t') || !std::getline(fields, c.name, '\t') ||
            !std::getline(fields, c.country, '\t') || !std::getline(fields, lat, '\t') ||
            !std::getline(fields, lon, '\t') || !std::getline(fields, c.climate))
            continue;
        if (!c.climate.empty() && c.climate.back() == '\r')
            c.climate.pop_back();
        c.lat = std::atof(lat.c_str());
        c.lon = std::atof(lon.c_str());
        all.push_back(c);
    }
    build();
}

weather_service::weather_service(std::vector<city_record> cities) : all(std::move(cities)) {
    build();
}

void weather_service::build() {
    for (std::size_t i = 0; i < all.size(); ++i)
        by_id[all[i].id] = i;
    for (const region_def& r : region_defs) {
        region_record region;
        region.id = r.id;
        region.picture = r.picture;
        region.frame = map_frame{r.lat, r.lon, r.distance, 1.25, region_picture_width};
        for (const zone_def& z : zone_defs)
            if (region.id == z.region)
                region.zones.push_back(
                    zone_record{z.id, z.name, map_frame{z.lat, z.lon, z.distance, 1.25, zone_picture_width}});
        map_tree.push_back(region);
    }
}

const region_record* weather_service::region(const std::string& id) const {
    for (const region_record& r : map_tree)
        if (r.id == id)
            return &r;
    return nullptr;
}

const zone_record* weather_service::zone(const std::string& id) const {
    for (const region_record& r : map_tree)
        for (const zone_record& z : r.zones)
            if (z.id == id)
                return &z;
    return nullptr;
}

const city_record* weather_service::city(const std::string& id) const {
    auto it = by_id.find(id);
    return it == by_id.end() ? nullptr : &all[it->second];
}

std::vector<const city_record*> weather_service::search(const std::string& text) const {
    std::vector<const city_record*> starts, holds;
    const std::wstring wanted = lower_wide(text);
    if (wanted.empty())
        return starts;
    for (const city_record& c : all) {
        const std::wstring name = lower_wide(c.name);
        const std::size_t at = name.find(wanted);
        if (at == 0)
            starts.push_back(&c);
        else if (at != std::wstring::npos)
            holds.push_back(&c);
    }
    starts.insert(starts.end(), holds.begin(), holds.end());
    if (starts.size() > 30)
        starts.resize(30);
    return starts;
}

std::vector<const city_record*> weather_service::cities_in(const zone_record& zone) const {
    std::vector<const city_record*> inside;
    for (const city_record& c : all)
        if (inside_picture(zone.frame, project(zone.frame, c.lat, c.lon), 16))
            inside.push_back(&c);
    return inside;
}

namespace {
// The panel's air-quality codes (13 to 36) read as the feel of the day: the wind first, then the wet, then
// the temperature; calm dry days in between take one of the mild words, or the town's haze.
int air_quality_code(const forecast_day& d, bool precipitation, bool freezing, double chance) {
    if (d.wind_speed >= 22)
        return freezing && precipitation ? 26
               : d.wind_speed >= 38      ? 17
               : d.wind_speed >= 32      ? 16
               : d.wind_speed >= 27      ? 15
                                         : 14;
    if (precipitation)
        return freezing ? 31 : d.t_max <= 8 ? 32 : d.t_max >= 26 ? 34 : 23;
    if (d.sky == "Fog")
        return 23;
    if (d.t_max >= 33)
        return chance < 0.5 ? 35 : 36;
    if (d.t_max >= 27)
        return 33;
    if (d.t_max <= 2)
        return 30;
    if (d.wind_speed >= 16)
        return 13;
    static const int mild[] = {20, 21, 22, 29, 28, 24, 25};
    return mild[std::min<std::size_t>(static_cast<std::size_t>(chance * 7), 6)];
}
} // namespace

std::vector<forecast_day> weather_service::forecast(const city_record& c, long first_day, int days) const {
    std::vector<forecast_day> out;
    const double abs_lat = std::fabs(c.lat);
    double mean = 28.0 - 0.42 * abs_lat, amplitude = 0.28 * abs_lat, range = 9.0, wet = 0.35;
    if (c.climate == "tropical")
        amplitude *= 0.3, wet = 0.55, range = 7;
    else if (c.climate == "arid")
        mean += 3, wet = 0.05, range = 15;
    else if (c.climate == "continental")
        amplitude *= 1.5, mean -= 2;
    else if (c.climate == "polar")
        mean -= 12, amplitude *= 1.2, wet = 0.3;
    else if (c.climate == "highland")
        mean -= 9, range = 12, wet = 0.3;
    else if (c.climate == "oceanic")
        amplitude *= 0.6, wet = 0.5, range = 6;
    else if (c.climate == "mediterranean")
        mean += 2, wet = 0.25;
    else if (c.climate == "subtropical")
        mean += 1, wet = 0.4;
    for (int i = 0; i < days; ++i) {
        const long day = first_day + i;
        const std::uint64_t h = hash_of(c.id, day);
        const double year_phase = 2 * M_PI * (static_cast<double>((day + 365 * 100 - 15) % 365) / 365.0);
        // Coldest in mid January in the north, in mid July in the south.
        const double season = c.lat >= 0 ? -std::cos(year_phase) : std::cos(year_phase);
        const double day_mean = mean + amplitude * season + (draw(h, 1) - 0.5) * 6;
        const double spread = range * (0.7 + 0.6 * draw(h, 2));
        forecast_day d;
        d.date = date_text(day);
        d.t_max = static_cast<int>(std::lround(day_mean + spread / 2));
        d.t_min = static_cast<int>(std::lround(day_mean - spread / 2));
        double wet_today = wet;
        if (c.climate == "mediterranean")
            wet_today = season < 0 ? 0.35 : 0.05; // wet winters, dry summers
        const double r = draw(h, 3);
        const bool precipitation = r < wet_today;
        const bool freezing = d.t_max <= 1;
        const double cloud = draw(h, 4);
        if (precipitation) {
            const double kind = draw(h, 5);
            if (freezing) {
                d.icon = kind < 0.5 ? "19" : "21";
                d.precipitation = kind < 0.5 ? "Snow showers" : "Snow";
                d.sky = "Overcast";
            } else if (d.t_max <= 3 && kind < 0.3) {
                d.icon = "22";
                d.precipitation = "Sleet";
                d.sky = "Overcast";
            } else if ((c.climate == "tropical" || season > 0.3) && kind < 0.3) {
                d.icon = "15";
                d.precipitation = "Thunderstorms";
                d.sky = "Cloudy";
            } else if (kind < 0.6) {
                d.icon = "13";
                d.precipitation = "Showers";
                d.sky = "Partly cloudy";
            } else if (kind < 0.8) {
                d.icon = "14";
                d.precipitation = "Rain";
                d.sky = "Overcast";
            } else {
                d.icon = "9";
                d.precipitation = "Drizzle";
                d.sky = "Cloudy";
            }
        } else {
            d.precipitation = "No precipitation";
            if (c.climate == "oceanic" && cloud < 0.12) {
                d.icon = "7";
                d.sky = "Fog";
            } else if (cloud < 0.3) {
                d.icon = "1";
                d.sky = "Sunny";
            } else if (cloud < 0.55) {
                d.icon = "2";
                d.sky = "Mostly sunny";
            } else if (cloud < 0.8) {
                d.icon = "3";
                d.sky = "Partly cloudy";
            } else {
                d.icon = "5";
                d.sky = "Cloudy";
            }
        }
        d.wind_speed = std::round((5 + 35 * draw(h, 6) * draw(h, 7)) * 10) / 10;
        if (d.wind_speed > 30 && !precipitation) {
            d.icon = "28";
            d.sky += ", windy";
        }
        d.air_quality = air_quality_code(d, precipitation, freezing, draw(h, 8));
        const double declination = -23.4 * std::cos(year_phase);
        const double sun = std::max(0.0, std::cos((c.lat - declination) * M_PI / 180.0));
        d.uv_index =
            std::clamp(static_cast<int>(std::lround(11 * sun * sun * (precipitation ? 0.5 : 1.0))), 0, 11);
        out.push_back(d);
    }
    return out;
}

int weather_service::current_temperature(const city_record& c, long today) const {
    forecast_day d = forecast(c, today, 1)[0];
    return (d.t_min + d.t_max) / 2;
}

std::vector<std::pair<std::string, map_frame>> weather_service::map_pictures() const {
    std::vector<std::pair<std::string, map_frame>> pictures;
    for (const region_record& r : map_tree) {
        pictures.emplace_back(r.picture, r.frame);
        for (const zone_record& z : r.zones)
            pictures.emplace_back("/mapdata/zones/" + z.id + ".jpeg", z.frame);
    }
    return pictures;
}

} // namespace server
