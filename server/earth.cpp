#include "earth.h"

#include <algorithm>
#include <cmath>

namespace server {

earth::earth(const std::string& path) : picture(decode_jpeg_file(path)) {}

void earth::sample(double lat, double lon, std::uint8_t rgb[3]) const {
    if (!loaded()) {
        rgb[0] = 20, rgb[1] = 50, rgb[2] = 110;
        return;
    }
    const double fx = (lon + 180.0) / 360.0 * picture.width - 0.5;
    const double fy = (90.0 - std::clamp(lat, -90.0, 90.0)) / 180.0 * picture.height - 0.5;
    const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    const double ax = fx - x0, ay = fy - y0;
    auto px = [&](int x, int y) {
        x = ((x % picture.width) + picture.width) % picture.width;
        y = std::clamp(y, 0, picture.height - 1);
        return picture.at(x, y);
    };
    for (int c = 0; c < 3; ++c) {
        const double top = px(x0, y0)[c] * (1 - ax) + px(x0 + 1, y0)[c] * ax;
        const double bottom = px(x0, y0 + 1)[c] * (1 - ax) + px(x0 + 1, y0 + 1)[c] * ax;
        rgb[c] = static_cast<std::uint8_t>(std::lround(top * (1 - ay) + bottom * ay));
    }
}

} // namespace server
