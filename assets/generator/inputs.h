#pragma once

#include "default_config.h"
#include "earth_texture.h"
#include "picture_files.h"
#include "text_painter.h"

#include <vector>

namespace assets {

// What the painters draw from: the Blue Marble picture and the texture made from it, the default
// configuration's categories and the footer's font.
struct inputs {
    const rgb_image& earth;
    const earth_texture& texture;
    const std::vector<news_category>& categories;
    const text_painter& text;
};

class catalogue;

// Each family of pictures adds its keys to the catalogue.
void add_frame_pictures(catalogue& c);                      // corners, borders, scroll parts, list marks
void add_chrome_pictures(catalogue& c, const inputs& in);   // header, footer, top bar, backgrounds
void add_signal_pictures(catalogue& c);                     // arrows, warning, failure, enlarge mark
void add_weather_icons(catalogue& c);                       // state_*
void add_shortcut_pictures(catalogue& c, const inputs& in); // home links and tiles, tip-line, video
void add_world_pictures(catalogue& c, const inputs& in);    // globe and city strips, earth shade, maps

} // namespace assets
