#pragma once

#include <cstdint>

namespace shell {

// The host's own drawing on a window surface: filled rectangles and a 5 x 7 pixel font (digits, capitals,
// colon, hyphen, apostrophe, and the backspace and space marks of the keyboard), so the home screen needs no
// font files.
struct canvas {
    std::uint16_t* px;
    int w;
    int h;
    void fill(int x0, int y0, int x1, int y1, std::uint16_t c);
};

// Characters the font lacks leave a narrow gap. Returns the width drawn.
int draw_text(canvas& c, int x, int y, const char* text, int scale, std::uint16_t colour);
int text_width(const char* text, int scale);

} // namespace shell
