#include "earth.h"

#include <algorithm>
#include <cmath>

namespace server {

earth::earth(const std::string& path) : picture(decode_jpeg_file(path)) {}

earth::neighbours earth::around(double lat, double lon) const {
    const double fx = (lon + 180.0) / 360.0 * picture.width - 0.5;
    const double fy = (90.0 - std::clamp(lat, -90.0, 90.0)) / 180.0 * picture.height - 0.5;
    const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    const double ax = fx - x0, ay = fy - y0;
    neighbours n{{}, {(1 - ax) * (1 - ay), ax * (1 - ay), (1 - ax) * ay, ax * ay}};
    for (int k = 0; k < 4; ++k) {
        const int x = ((x0 + (k & 1)) % picture.width + picture.width) % picture.width;
        const int y = std::clamp(y0 + (k >> 1), 0, picture.height - 1);
        n.texel[k] = picture.at(x, y);
    }
    return n;
}

void earth::sample(double lat, double lon, std::uint8_t rgb[3]) const {
    if (!loaded()) {
        rgb[0] = 20, rgb[1] = 50, rgb[2] = 110;
        return;
    }
    const neighbours n = around(lat, lon);
    for (int c = 0; c < 3; ++c) {
        double v = 0;
        for (int k = 0; k < 4; ++k)
            v += n.texel[k][c] * n.weight[k];
        rgb[c] = static_cast<std::uint8_t>(std::lround(v));
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
    const neighbours n = around(lat, lon);
    double sea_share = 0, sums[2][3] = {}, weights[2] = {};
    for (int k = 0; k < 4; ++k) {
        const int side = is_sea(n.texel[k]) ? 1 : 0;
        sea_share += side * n.weight[k];
        weights[side] += n.weight[k];
        for (int c = 0; c < 3; ++c)
            sums[side][c] += n.texel[k][c] * n.weight[k];
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
