#include "utils/document_text.h"

#include "platform/text.h"

#include <cstring>

namespace utils {

namespace {
// Windows-1252 at 0x80-0x9F; the undefined positions keep their own value.
const wchar_t cp1252_high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
} // namespace

bool is_valid_utf8(const std::string& text) {
    std::size_t i = 0, n = text.size();
    while (i < n) {
        auto b = static_cast<unsigned char>(text[i]);
        int extra;
        std::uint32_t c;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1, c = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, c = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, c = b & 0x07;
        } else {
            return false;
        }
        if (i + extra >= n)
            return false; // the sequence is cut off
        for (int k = 1; k <= extra; ++k) {
            auto cb = static_cast<unsigned char>(text[i + k]);
            if ((cb & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (cb & 0x3F);
        }
        static const std::uint32_t min_of[4] = {0, 0x80, 0x800, 0x10000};
        if (c < min_of[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

std::wstring widen_document_text(const char* text) {
    if (!text)
        return L"(null)";
    // Most document text is plain ASCII, which reads the same either way: no copy and no decoding.
    const char* end = text;
    while (*end && static_cast<unsigned char>(*end) < 0x80)
        ++end;
    if (!*end)
        return std::wstring(text, end);
    std::string bytes(text);
    if (is_valid_utf8(bytes))
        return platform::from_utf8(bytes);
    std::wstring out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes)
        out += (c >= 0x80 && c < 0xA0) ? cp1252_high[c - 0x80] : static_cast<wchar_t>(c);
    return out;
}

} // namespace utils
