#include "continents.h"

namespace assets {

namespace {

constexpr region_box boxes[] = {
    {0, 0, 0, 0},      {277, 113, 234, 131}, {0, 138, 230, 109},  {124, 48, 67, 98},
    {400, 60, 96, 72}, {214, 78, 99, 103},   {206, 177, 133, 67},
};

// The Red Sea runs from Suez (32.5 E, 30 N) to Bab-el-Mandeb (43.3 E, 12.6 N); Arabia lies east of it.
double red_sea_longitude(double latitude) {
    return 32.5 + (30.0 - latitude) * (10.8 / 17.4);
}

bool is_americas(double lon, double lat) {
    if (lat > 66.7 && lon < -10.5)
        return true; // Greenland's north-east
    if (lon >= -26)
        return false;
    if (lat > 36 && lat < 40.5 && lon > -32)
        return false; // the Azores
    return true;
}

int americas(double lon, double lat) {
    if (lon < -168.5 && lat > 64.3)
        return asia; // Chukotka, across the date line
    if (lon < -130 && lat < 30)
        return none; // Hawaii and the Pacific islands
    if (lat > 12.6)
        return north_america;
    if (lon < -77.35 && lat > 7.0)
        return north_america; // the isthmus up to Colombia
    return south_america;
}

bool is_oceania(double lon, double lat) {
    return (lon >= 130.8 && lat < 0 && lat > -60) || (lon > 110 && lat < -11.0 && lat > -60);
}

bool is_africa(double lon, double lat) {
    if (lat < -40)
        return false;
    if (lat < 12.3)
        return lon < 60; // south of the Gulf of Aden, with Madagascar and the Mascarenes
    if (lon < -5.6)
        return lat < 35.95; // Morocco's Atlantic coast; Spain and Portugal lie north
    if (lon < 0)
        return lat < 36.0; // the Strait and the Alboran Sea
    if (lon < 11.5)
        return lat < 37.5; // Algeria and Tunisia
    if (lon < 32.35)
        return lat < 34.0; // Libya and Egypt; Malta, Sicily and Crete lie north
    return lat < 29.9 && lon < red_sea_longitude(lat);
}

// Europe against Asia: the Urals, the Caspian, the Caucasus, the Bosporus and the Aegean.
bool is_europe(double lon, double lat) {
    if (lat >= 47.5)
        return lon < 57.7;
    if (lat >= 44)
        return lon < 50;
    if (lat >= 41)
        return lon < 29.1;
    if (lat >= 34)
        return lon < 26.7;
    return false;
}

} // namespace

region_box box_of(int r) {
    return (r >= 1 && r <= 6) ? boxes[r] : boxes[0];
}

bool box_holds(int r, int x, int y) {
    if (r < 1 || r > 6 || x < 0 || x >= texture_width)
        return false;
    const region_box& b = boxes[r];
    return x >= b.x && x < b.x + b.width && y >= b.y && y < b.y + b.height;
}

int continent_at(double lon, double lat) {
    if (lat < -60)
        return none;
    if (is_americas(lon, lat))
        return americas(lon, lat);
    if (lon > 172 && lat > 51 && lat < 53.5)
        return north_america; // the western Aleutians
    if (lon > 172 && lat < 30)
        return none; // Fiji and the islands east of it
    if (is_oceania(lon, lat))
        return oceania;
    if (is_africa(lon, lat))
        return africa;
    if (is_europe(lon, lat))
        return europe;
    return asia;
}

int region_of_texel(int x, int y) {
    const double lon = -180.0 + (x + 0.5) * 360.0 / texture_width;
    const double lat = -90.0 + (y + 0.5) * 180.0 / texture_height;
    const int r = continent_at(lon, lat);
    return box_holds(r, x, y) ? r : none;
}

} // namespace assets
