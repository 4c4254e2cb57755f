#pragma once

#include "raster.h"

#include <string>

namespace server {

// The NASA Blue Marble picture (equirectangular, north up, -180 degrees at the left edge), sampled by place.
class earth {
public:
    static constexpr const char* default_path = "/usr/share/xplanet/images/earth.jpg";

    // An empty earth (plain ocean blue) when the file cannot be read.
    explicit earth(const std::string& path = default_path);
    bool loaded() const { return picture.width > 0; }
    // Bilinear colour at a place; longitudes wrap.
    void sample(double lat, double lon, std::uint8_t rgb[3]) const;
    // The same for a picture that magnifies the earth, texels_per_pixel (under 1) being how much of a
    // texel one of its pixels spans: sea and land are told apart texel by texel (the sea is blue over red
    // and green), the coast is drawn where the interpolated share of sea crosses one half, smoothed over one
    // pixel, and each side takes the colour of its own texels only. A magnified coast stays sharp instead of
    // a wide blur of sea and land mixed.
    void sample_coast(double lat, double lon, double texels_per_pixel, std::uint8_t rgb[3]) const;
    int width() const { return picture.width; }

private:
    // The four texels round a place, with their bilinear weights.
    struct neighbours {
        const std::uint8_t* texel[4];
        double weight[4];
    };
    neighbours around(double lat, double lon) const;

    raster picture;
};

} // namespace server
