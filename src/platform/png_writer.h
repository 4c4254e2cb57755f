#pragma once

#include "platform/compositor.h"

#include <string>

namespace platform {

// Writes the image as an 8-bit RGB PNG; false (and no file left behind) when it cannot be written.
bool write_png(const std::string& path, const screen_image& image);

} // namespace platform
