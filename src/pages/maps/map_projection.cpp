#include "pages/maps/map_projection.h"

#include <algorithm>
#include <cmath>

namespace zor {

namespace {
constexpr double degree = 0.017453292519943278;
constexpr double earth_diameter_km = 12734.0;
// Far beyond any picture, well inside an int.
constexpr double farthest_pixel = 1e6;

double sign(double v) {
    return v < 0 ? -1.0 : v > 0 ? 1.0 : 0.0;
}
} // namespace

bool map_frame::is_usable() const {
    return std::isfinite(center_latitude) && std::isfinite(center_longitude) && std::isfinite(distance) &&
           std::isfinite(aspect) && distance > 0 && aspect > 0 && picture_width > 0;
}

bool project(const map_frame& f, double latitude, double longitude, platform::POINT& offset) {
    if (!f.is_usable() || !std::isfinite(latitude) || !std::isfinite(longitude))
        return false;
    const double phi = latitude * degree, phi0 = f.center_latitude * degree;
    const double dphi = (latitude - f.center_latitude) * degree;
    const double dlambda = (longitude - f.center_longitude) * degree;
    const double half_lambda = std::sin(dlambda / 2);
    // cos phi * cos phi0 is negative only for latitudes beyond the poles; such a place has no position.
    const double sx = std::sqrt(std::max(0.0, half_lambda * half_lambda * std::cos(phi) * std::cos(phi0)));
    const double sy = std::fabs(std::sin(dphi / 2));
    const double x = sign(dlambda) * earth_diameter_km * std::asin(std::min(1.0, sx)) * f.scale_x();
    const double y = sign(dphi) * earth_diameter_km * std::asin(std::min(1.0, sy)) * f.scale_y();
    if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > farthest_pixel ||
        std::fabs(y) > farthest_pixel)
        return false;
    offset = platform::POINT{static_cast<int>(x), static_cast<int>(y)};
    return true;
}

} // namespace zor
