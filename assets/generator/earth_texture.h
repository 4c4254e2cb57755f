#pragma once

#include "picture_files.h"

#include <cstdint>
#include <string>
#include <vector>

namespace assets {

// The globe's 512 x 256 texture: RGB from the Blue Marble picture (4 x 4 box average), alpha the region
// mask (region in the top 3 bits, shading strength in the low 5), rows from the south edge up.
struct earth_texture {
    std::vector<std::uint8_t> rgba; // texture_width * texture_height * 4
};

// Sea is blue-dominant or very dark; ice, desert, forest and steppe are land.
bool looks_like_sea(std::uint8_t r, std::uint8_t g, std::uint8_t b);

earth_texture make_earth_texture(const rgb_image& blue_marble);

// Writes the west half to a_path and the east half to b_path, 256 x 256 texels each, R, G, B, A.
void write_earth_halves(const earth_texture& texture, const std::string& a_path, const std::string& b_path);

} // namespace assets
