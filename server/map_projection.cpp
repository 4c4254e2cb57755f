#include "map_projection.h"

#include <algorithm>
#include <cmath>

namespace server {

namespace {
constexpr double degree = 0.017453292519943278;
constexpr double diameter_km = 12734.0;
double sign(double v) {
    return v < 0 ? -1.0 : v > 0 ? 1.0 : 0.0;
}
} // namespace

map_offset project(const map_frame& f, double lat, double lon) {
    const double phi = lat * degree, phi0 = f.center_lat * degree;
    const double dphi = (lat - f.center_lat) * degree, dlambda = (lon - f.center_lon) * degree;
    const double sx = std::sqrt(std::pow(std::sin(dlambda / 2), 2) * std::cos(phi) * std::cos(phi0));
    const double sy = std::sqrt(std::pow(std::sin(dphi / 2), 2));
    const double x =
        sign(dlambda) * diameter_km * std::asin(std::min(1.0, sx)) / f.distance * f.picture_width;
    const double y =
        sign(dphi) * diameter_km * std::asin(std::min(1.0, sy)) / (f.aspect * f.distance) * f.picture_width;
    return map_offset{static_cast<int>(x), static_cast<int>(y)};
}

bool unproject(const map_frame& f, double x, double y, double& lat, double& lon) {
    // y = sign(dphi) * D * asin(|sin(dphi / 2)|) / (aspect * distance) * P, and asin(|sin(a)|) = |a| for |a|
    // <= pi/2.
    const double dphi = 2.0 * y * f.aspect * f.distance / (diameter_km * f.picture_width);
    lat = f.center_lat + dphi / degree;
    if (lat <= -90.0 || lat >= 90.0)
        return false;
    const double s = std::sin(std::fabs(x) * f.distance / (diameter_km * f.picture_width));
    const double c = std::cos(lat * degree) * std::cos(f.center_lat * degree);
    if (c <= 0)
        return false;
    const double half = s / std::sqrt(c);
    if (half > 1.0)
        return false;
    lon = f.center_lon + sign(x) * 2.0 * std::asin(half) / degree;
    if (lon > 180.0)
        lon -= 360.0;
    if (lon < -180.0)
        lon += 360.0;
    return true;
}

bool inside_picture(const map_frame& f, const map_offset& o, int margin) {
    const int half_w = f.picture_width / 2, half_h = f.picture_height() / 2;
    return o.x > -half_w + margin && o.x < half_w - margin && o.y > -half_h + margin && o.y < half_h - margin;
}

} // namespace server
