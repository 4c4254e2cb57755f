#pragma once

// Switches a host may turn on for the whole process before it loads the panel.
namespace platform {

// The frames-per-second overlay of the panel's frame loop.
void set_show_fps(bool on);
bool show_fps();

} // namespace platform
