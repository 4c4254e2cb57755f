#pragma once

#include <string>

// Turns screen-level pen, key and text input into window messages, as a touch screen and a keypad
// would: the pen goes to the window under it and stays with that window until lifted (moves are
// reported only while the pen is down); keys and text go to the window with the focus.
namespace platform {

void pen_down(int screen_x, int screen_y);
void pen_move(int screen_x, int screen_y);
void pen_up(int screen_x, int screen_y);
bool pen_is_down();

void key_down(int virtual_key);
void key_up(int virtual_key);
// One WM_CHAR per character.
void text_input(const std::wstring& text);

} // namespace platform
