#pragma once

#include "platform/types.h"

// The home screen's on-screen keyboard (its "SipWndClass" window), as the device's soft-input panel calls
// reach it: a page may place it where it needs it and put it back afterwards.
namespace platform {

extern const wchar_t* const soft_input_class;

// The keyboard's rectangle on the screen; false when the home screen has none.
bool soft_input_rect(RECT& out);
// Moves the keyboard to the rectangle (screen coordinates); false when there is none.
bool set_soft_input_rect(const RECT& r);
void show_soft_input(bool show);

} // namespace platform
