#pragma once

// Where a place lies on a weather map picture, as the panel places cities: offsets from the map's centre in
// pixels, east and north positive, for a map of the given distance (km across) and aspect ratio drawn
// picture_width pixels wide. The inverse gives the place shown at a pixel, for drawing the picture.
namespace server {

struct map_frame {
    double center_lat;
    double center_lon;
    double distance;
    double aspect;
    int picture_width;
    int picture_height() const { return static_cast<int>(picture_width / aspect + 0.5); }
};

struct map_offset {
    int x;
    int y;
};

map_offset project(const map_frame& frame, double lat, double lon);
// False where no place projects (beyond the reach of the formula).
bool unproject(const map_frame& frame, double x, double y, double& lat, double& lon);
// The offset lies inside the picture, at least margin pixels from its edges.
bool inside_picture(const map_frame& frame, const map_offset& offset, int margin);

} // namespace server
