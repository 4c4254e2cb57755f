#pragma once

#include "earth.h"
#include "map_projection.h"
#include "raster.h"

#include <string>

namespace server {

// The demo pictures, all drawn here: a news picture is the NASA earth around the story's place, tinted by its
// scene, with a marker on the place and the category's colour along the bottom; a banner is a flat card with
// its advertiser's words; a map is the earth as the weather maps project it.
class picture_renderer {
public:
    explicit picture_renderer(const earth& world) : world(world) {}

    raster news_picture(int width, int height, double lat, double lon, const std::string& scene,
                        unsigned colour_index) const;
    raster banner(int width, int height, int index) const;
    raster map(const map_frame& frame) const;

private:
    const earth& world;
};

// The banners the advert document lists.
struct banner_text {
    const char* tracker_id;
    const char* title;
    const char* line;
    const char* waplink;
    unsigned background; // 0xRRGGBB
    unsigned accent;
};
extern const banner_text banners[4];

} // namespace server
