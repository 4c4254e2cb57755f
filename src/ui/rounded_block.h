#pragma once

#include "platform/types.h"
#include "ui/i_image.h"

namespace cl {
namespace ui {

// A block of one colour whose rounded corners are smoothed through its alpha plane, for drawing with
// draw_image_alpha where the back-end has no rounded shapes of its own (the wait icon's blocks, the error
// plate, the progress bar's track and knob). A radius of half the shorter side gives a pill or a disc.
// Blocks are made once per colour, size and radius and shared; any thread may ask.
image_ptr rounded_block(platform::COLORREF colour, int width, int height, int radius);

} // namespace ui
} // namespace cl
