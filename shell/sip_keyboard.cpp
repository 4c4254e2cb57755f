#include "sip_keyboard.h"

#include "pixel_font.h"
#include "platform/compositor.h"

#include <cwctype>
#include <mutex>

namespace shell {
namespace sip_keyboard {

namespace {

// Places holding the same key in a row make one wide key.
const char* const layout[rows] = {"1234567890", "QWERTYUIOP", "ASDFGHJKL\b", "ZXCVBNM-' ",
                                  "\x1b\x1b      \r\r"};
constexpr int gap = 3;

const char* label_of(char key) {
    switch (key) {
    case hide_key:
        return "HIDE";
    case enter_key:
        return "ENTER";
    default:
        return nullptr;
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
        canvas c{surface.pixels(), surface.width(), surface.height()};
        c.fill(0, 0, c.w, c.h, platform::rgb565(0xC9, 0xCD, 0xD3));
        const std::uint16_t ink = platform::rgb565(0x30, 0x34, 0x3A);
        const int scale = 3;
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                if (column > 0 && layout[row][column - 1] == layout[row][column])
                    continue; // drawn with the first place of its wide key
                int r[4];
                key_rect(row, column, c.w, c.h, r);
                c.fill(r[0], r[1], r[2], r[3], 0xFFFF);
                const char single[2] = {layout[row][column], 0};
                const char* label = label_of(layout[row][column]);
                const int size = label ? 2 : scale;
                if (!label)
                    label = single;
                draw_text(c, (r[0] + r[2] - text_width(label, size)) / 2 + size / 2,
                          (r[1] + r[3] - 7 * size) / 2, label, size, ink);
            }
        }
    }
    surface.touch();
}

} // namespace sip_keyboard
} // namespace shell
