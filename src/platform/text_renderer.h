#pragma once

#include "platform/types.h"

#include <cstdint>
#include <string>

// Text drawn the way the platform's DrawText does it, with Pango on a Cairo RGB565 surface: lines break at
// explicit line breaks, and with word breaking at spaces, a word longer than the line being broken inside;
// text is clipped to its rectangle and drawn on a transparent background. Faces are found through
// fontconfig: "Tahoma" is Wine's, "GenericSansSerif" is DejaVu Sans.
namespace platform {

constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_CALCRECT = 0x0400;

constexpr int font_bold = 1;
constexpr int font_italic = 2;
constexpr int font_underline = 4;
constexpr int font_strikeout = 8;

struct font_spec {
    std::wstring face;
    int height = 0; // pixels of one line
    int style = 0;  // font_bold | font_italic | ...
};

// An RGB565 pixel buffer; the stride is in pixels and must be even.
struct rgb565_target {
    std::uint16_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

// Draws, or with DT_CALCRECT measures without drawing: the rectangle then grows or shrinks to the text
// (with DT_WORDBREAK its width is kept and its bottom follows the lines). Returns the text's height.
// DT_VCENTER only applies to DT_SINGLELINE, as with the platform's own call.
// With a clip, nothing is drawn outside it either (text sliding out of a box).
int draw_text(const rgb565_target& target, const std::wstring& text, RECT& rect, const font_spec& font,
              COLORREF colour, unsigned format, const RECT* clip = nullptr);

// The family fontconfig actually picks for a face name (fallback is silent otherwise).
std::string resolved_family(const std::wstring& face);

} // namespace platform
