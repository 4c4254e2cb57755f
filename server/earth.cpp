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

namespace {

bool is_sea(const std::uint8_t* c) {
    return c[2] - std::max(c[0], c[1]) > 25;
}

} // namespace

void earth::sample_coast(double lat, double lon, double texels_per_pixel, std::uint8_t rgb[3]) const {
    if (!loaded()) {
        sample(lat, lon, rgb);
        return;
    }
    const double fx = (lon + 180.0) / 360.0 * picture.width - 0.5;
    const double fy = (90.0 - std::clamp(lat, -90.0, 90.0)) / 180.0 * picture.height - 0.5;
    const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    const double ax = fx - x0, ay = fy - y0;
    const std::uint8_t* texel[4];
    const double weight[4] = {(1 - ax) * (1 - ay), ax * (1 - ay), (1 - ax) * ay, ax * ay};
    for (int k = 0; k < 4; ++k) {
        int x = x0 + (k & 1), y = y0 + (k >> 1);
        x = ((x % picture.width) + picture.width) % picture.width;
        y = std::clamp(y, 0, picture.height - 1);
        texel[k] = picture.at(x, y);
    }
    double sea_share = 0, sums[2][3] = {}, weights[2] = {};
    for (int k = 0; k < 4; ++k) {
        const int side = is_sea(texel[k]) ? 1 : 0;
        sea_share += side * weight[k];
        weights[side] += weight[k];
        for (int c = 0; c < 3; ++c)
            sums[side][c] += texel[k][c] * weight[k];
    }
    if (weights[0] == 0 || weights[1] == 0) {
        sample(lat, lon, rgb);
        return;
    }
    // Pixels from the coast: the share changes by at most one a texel.
    const double sea = std::clamp(0.5 + (sea_share - 0.5) / std::max(texels_per_pixel, 1e-3), 0.0, 1.0);
    for (int c = 0; c < 3; ++c)
        rgb[c] = static_cast<std::uint8_t>(
            std::lround(sums[1][c] / weights[1] * sea + sums[0][c] / weights[0] * (1 - sea)));
}

} // namespace server
