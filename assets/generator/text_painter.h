#pragma once

#include <cairo.h>
#include <cstdint>
#include <string>

typedef struct _PangoFontMap PangoFontMap;
typedef struct _FcConfig FcConfig;

namespace assets {

struct box {
    double x, y, w, h;
};

// Text through Pango with a private font configuration that knows one file only, and fixed font options
// (grey antialiasing, no hinting), so the pixels do not depend on the machine's font set-up.
class text_painter {
public:
    explicit text_painter(const std::string& font_file);
    ~text_painter();
    text_painter(const text_painter&) = delete;
    text_painter& operator=(const text_painter&) = delete;

    // One line centred in the box; returns the ink width in pixels.
    int draw_centred(cairo_t* cr, const std::string& utf8, const box& where, double pixel_size,
                     std::uint32_t rgb) const;
    int width(const std::string& utf8, double pixel_size) const;
    const std::string& family() const { return face; }

private:
    FcConfig* config;
    PangoFontMap* font_map;
    std::string face;
};

} // namespace assets
