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

private:
    raster picture;
};

} // namespace server
