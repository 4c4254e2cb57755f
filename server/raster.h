#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace server {

// An RGB picture, 3 bytes a pixel, row by row.
struct raster {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    raster() = default;
    raster(int w, int h) : width(w), height(h), rgb(static_cast<std::size_t>(w) * h * 3, 0) {}
    std::uint8_t* at(int x, int y) { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
    const std::uint8_t* at(int x, int y) const { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

// Baseline JPEG bytes of the picture.
std::string encode_jpeg(const raster& picture, int quality = 85);
// Reads a JPEG file; an empty raster when it cannot be read.
raster decode_jpeg_file(const std::string& path);

} // namespace server
