#pragma once

#include "catalogue.h"
#include "earth_texture.h"
#include "text_painter.h"

#include <string>

namespace assets {

// One PNG with every picture at its own size over a checkerboard (so alpha shows), labelled with its key,
// both orientations where they differ, and the earth texture with its regions.
void write_contact_sheet(const std::string& path, const catalogue& pictures, const earth_texture& texture,
                         const rgb_image& earth, const text_painter& text);

} // namespace assets
