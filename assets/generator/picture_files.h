#pragma once

#include "canvas.h"

#include <string>

namespace assets {

// Writes RGB when every pixel is opaque, else RGBA; no time stamps or other chunks, so equal pictures give
// equal bytes.
void write_png(const std::string& path, const rgba_image& image);

// An 8-bit RGB picture decoded from a JPEG file, rows top to bottom.
struct rgb_image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};
rgb_image read_jpeg(const std::string& path);

// Creates the folders leading to a file.
void make_parent_folders(const std::string& path);

} // namespace assets
