#pragma once

#include "raster.h"

#include <string>

namespace server {

// Decodes a JPEG, PNG or WebP picture (told apart by their first bytes) into RGB, transparency laid over
// white. Refuses pictures larger than max_side a side or max_pixels in all, truncated or corrupt data, with a
// reason in error.
bool decode_picture(const std::string& bytes, raster& out, std::string& error, int max_side = 8192,
                    long max_pixels = 16L * 1024 * 1024);

// The picture cropped to the aspect of the size asked (keeping its middle) and scaled to it with a
// filter that averages every source pixel when it shrinks (Cairo's "good").
raster crop_and_scale(const raster& picture, int width, int height);

} // namespace server
