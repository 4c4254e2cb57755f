#pragma once

#include "platform/types.h"

namespace platform {

// The procedure of the built-in single-line "EDIT" class: the text is the window's title, WM_CHAR
// types (backspace deletes), EM_SETSEL with (0, -1) selects everything so the next character replaces it,
// WM_SETFONT takes a pointer to a font_spec (copied). It paints its text, the selection and a caret while
// it has the focus.
LRESULT edit_window_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

// True when the window is an EDIT whose whole text is selected.
bool edit_all_selected(HWND hwnd);

} // namespace platform
