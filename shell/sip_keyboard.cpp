#include "sip_keyboard.h"

#include "surface_painter.h"

#include <cmath>
#include <cwctype>
#include <mutex>

namespace shell {
namespace sip_keyboard {

namespace {

// Places holding the same key in a row make one wide key.
const char* const layout[rows] = {"1234567890", "QWERTYUIOP", "ASDFGHJKL\b", "ZXCVBNM-' ",
                                  "\x1b\x1b      \r\r"};
constexpr int gap = 3;

// A light phone keyboard: white letter keys with a soft shadow on a grey tray, grey function keys, a red
// Enter.
constexpr std::uint32_t tray = 0xD3D6DC;
constexpr std::uint32_t letter_key = 0xFFFFFF;
constexpr std::uint32_t function_key = 0xA9AFB9;
constexpr std::uint32_t enter_colour = 0xDB3C3B;
constexpr std::uint32_t shadow = 0x8C929C;
constexpr std::uint32_t ink = 0x1F2124;
constexpr double radius = 6;

bool function_of(char key) {
    return key == '\b' || key == hide_key;
}

// Backspace: a key-shaped tag pointing left with a cross in it.
void backspace_mark(surface_painter& p, double cx, double cy) {
    cairo_t* cr = p.cr();
    const double w = 26, h = 18, x = cx - w / 2 + 3, y = cy - h / 2;
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + w - 3, y);
    cairo_arc(cr, x + w - 3, y + 3, 3, -M_PI / 2, 0);
    cairo_line_to(cr, x + w, y + h - 3);
    cairo_arc(cr, x + w - 3, y + h - 3, 3, 0, M_PI / 2);
    cairo_line_to(cr, x, y + h);
    cairo_line_to(cr, x - 8, y + h / 2);
    cairo_close_path(cr);
    p.colour(ink);
    cairo_set_line_width(cr, 2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double mx = x + w / 2 + 1, d = 4;
    cairo_move_to(cr, mx - d, cy - d);
    cairo_line_to(cr, mx + d, cy + d);
    cairo_move_to(cr, mx + d, cy - d);
    cairo_line_to(cr, mx - d, cy + d);
    cairo_stroke(cr);
}

// Hide: a chevron pointing down under a row of dots, the phone's "put the keyboard away".
void hide_mark(surface_painter& p, double cx, double cy) {
    cairo_t* cr = p.cr();
    for (int i = -2; i <= 2; ++i)
        p.fill_rounded(cx + i * 6 - 2, cy - 9, 4, 4, 1, ink);
    p.colour(ink);
    cairo_set_line_width(cr, 2.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, cx - 7, cy + 1);
    cairo_line_to(cr, cx, cy + 8);
    cairo_line_to(cr, cx + 7, cy + 1);
    cairo_stroke(cr);
}

// Enter: the return arrow, down and to the left.
void enter_mark(surface_painter& p, double cx, double cy) {
    cairo_t* cr = p.cr();
    p.colour(0xFFFFFF);
    cairo_set_line_width(cr, 2.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, cx + 10, cy - 8);
    cairo_line_to(cr, cx + 10, cy + 3);
    cairo_line_to(cr, cx - 10, cy + 3);
    cairo_move_to(cr, cx - 4, cy - 3);
    cairo_line_to(cr, cx - 10, cy + 3);
    cairo_line_to(cr, cx - 4, cy + 9);
    cairo_stroke(cr);
}

// The open box of a space on a key too narrow for the word.
void space_mark(surface_painter& p, double cx, double cy) {
    cairo_t* cr = p.cr();
    p.colour(ink);
    cairo_set_line_width(cr, 2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, cx - 9, cy - 1);
    cairo_line_to(cr, cx - 9, cy + 4);
    cairo_line_to(cr, cx + 9, cy + 4);
    cairo_line_to(cr, cx + 9, cy - 1);
    cairo_stroke(cr);
}

void draw_key(surface_painter& p, char key, int x, int y, int w, int h) {
    const std::uint32_t face = key == enter_key ? enter_colour : function_of(key) ? function_key : letter_key;
    p.fill_rounded(x, y + 1.5, w, h, radius, shadow);
    p.fill_rounded(x, y, w, h, radius, face);
    const double cx = x + w / 2.0, cy = y + h / 2.0;
    switch (key) {
    case '\b':
        backspace_mark(p, cx, cy);
        break;
    case hide_key:
        hide_mark(p, cx, cy);
        break;
    case enter_key:
        enter_mark(p, cx, cy);
        break;
    case ' ':
        if (w > 100)
            p.text("space", x, y, w, h, {17, false}, 0x7A7F87);
        else
            space_mark(p, cx, cy);
        break;
    default: {
        const char label[2] = {key, 0};
        const bool digit = key >= '0' && key <= '9';
        p.text(label, x, y, w, h, {digit ? 21.0 : 23.0, false}, ink);
    }
    }
}

} // namespace

void key_rect(int row, int column, int width, int height, int out[4]) {
    const int kw = width / columns, kh = height / rows;
    int first = column, last = column;
    if (row >= 0 && row < rows && column >= 0 && column < columns) {
        while (first > 0 && layout[row][first - 1] == layout[row][column])
            --first;
        while (last + 1 < columns && layout[row][last + 1] == layout[row][column])
            ++last;
    }
    out[0] = first * kw + gap;
    out[1] = row * kh + gap;
    out[2] = (last + 1) * kw - gap;
    out[3] = (row + 1) * kh - gap;
}

char key_at(int x, int y, int width, int height) {
    if (width < columns || height < rows || x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    const int row = y / (height / rows), column = x / (width / columns);
    if (row >= rows || column >= columns)
        return 0;
    int r[4];
    key_rect(row, column, width, height, r);
    if (x < r[0] || x >= r[2] || y < r[1] || y >= r[3])
        return 0;
    return layout[row][column];
}

wchar_t typed(char key, const std::wstring& before) {
    const wchar_t c = static_cast<wchar_t>(static_cast<unsigned char>(key));
    if (key < 'A' || key > 'Z')
        return c;
    const bool word_start = before.empty() || before.back() == L' ' || before.back() == L'-';
    return word_start ? c : static_cast<wchar_t>(std::towlower(c));
}

void paint(platform::window_surface& surface) {
    {
        std::lock_guard<std::mutex> lock(surface.mutex());
        surface_painter p(surface);
        p.fill_rect(0, 0, p.width(), p.height(), tray);
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                if (column > 0 && layout[row][column - 1] == layout[row][column])
                    continue; // drawn with the first place of its wide key
                int r[4];
                key_rect(row, column, p.width(), p.height(), r);
                draw_key(p, layout[row][column], r[0], r[1], r[2] - r[0], r[3] - r[1]);
            }
        }
    }
    surface.touch();
}

} // namespace sip_keyboard
} // namespace shell
