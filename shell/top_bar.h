#pragma once

#include "platform/surface.h"

#include <ctime>

namespace shell {

// Paints the home screen's 52-pixel top bar (signal, clock, battery) into the host window's surface.
void paint_top_bar(platform::window_surface& surface, const std::tm& local_time);

// A small keyboard glyph for the soft-input-panel button.
void paint_sip_button(platform::window_surface& surface);

} // namespace shell
