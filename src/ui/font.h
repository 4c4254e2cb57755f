#pragma once

#include "platform/text_renderer.h"

#include <boost/shared_ptr.hpp>
#include <string>

namespace cl {
namespace ui {

// Font style bits, as the configuration file names them.
constexpr int style_bold = platform::font_bold;
constexpr int style_italic = platform::font_italic;
constexpr int style_underline = platform::font_underline;
constexpr int style_strikeout = platform::font_strikeout;

// A font the drawing operations select; shared, and an empty pointer keeps the font currently selected.
class font {
public:
    explicit font(const platform::font_spec& spec) : spec_(spec) {}
    const platform::font_spec& spec() const { return spec_; }
    bool is_bold() const { return (spec_.style & style_bold) != 0; }
    int height() const { return spec_.height; }

private:
    platform::font_spec spec_;
};

using font_ptr = boost::shared_ptr<font>;

// At most 30 characters of the face name are kept.
font_ptr create_font(const std::wstring& face, int height, int style);

} // namespace ui
} // namespace cl
