#pragma once

#include "platform/surface.h"

#include <string>

namespace shell {

// The on-screen keyboard the home screen shows while a text field has the focus: five rows of ten places,
// digits, letters, backspace, hyphen, apostrophe, then a wide key that hides the keyboard, a wide space bar
// and a wide Enter. A tap types into the focused field. It looks like a phone's: rounded white keys in the
// system's face on a grey tray, grey function keys with their marks, a red Enter.
namespace sip_keyboard {

constexpr int rows = 5;
constexpr int columns = 10;
constexpr char hide_key = '\x1b';
constexpr char enter_key = '\r';

// The key under a point of a keyboard of that size: a character, '\b' for backspace, hide_key, enter_key,
// 0 between keys.
char key_at(int x, int y, int width, int height);
// The rectangle of the key over a place (a wide key spans its places), for drawing and for tours: left,
// top, right, bottom.
void key_rect(int row, int column, int width, int height, int out[4]);
// What a key types after this text: letters start a word as capitals, otherwise small.
wchar_t typed(char key, const std::wstring& before);

void paint(platform::window_surface& surface);

} // namespace sip_keyboard
} // namespace shell
