#pragma once

#include "platform/surface.h"

#include <string>

namespace shell {

// The on-screen keyboard the home screen shows while a text field has the focus: four rows of ten keys,
// digits, letters, backspace, hyphen, apostrophe and space. A tap types into the focused field.
namespace sip_keyboard {

constexpr int rows = 4;
constexpr int columns = 10;

// The key under a point of a keyboard of that size: a character, '\b' for backspace, 0 between keys.
char key_at(int x, int y, int width, int height);
// The rectangle of a key, for drawing and for tours: left, top, right, bottom.
void key_rect(int row, int column, int width, int height, int out[4]);
// What a key types after this text: letters start a word as capitals, otherwise small.
wchar_t typed(char key, const std::wstring& before);

void paint(platform::window_surface& surface);

} // namespace sip_keyboard
} // namespace shell
