#pragma once

#include "platform/types.h"

namespace zor {

// How a weather map picture shows the earth: the server draws each map `distance` km across, centred on a
// place, with distances along the sphere (haversine form) scaled by the picture's width.
struct map_frame {
    double center_latitude;
    double center_longitude;
    double distance;
    double aspect;
    int picture_width;

    // Numbers from a document may be zero, negative or not numbers at all; such a frame places nothing.
    bool is_usable() const;
    // Picture pixels per km, across and down.
    double scale_x() const { return picture_width / distance; }
    double scale_y() const { return picture_width / (aspect * distance); }
};

// The place's offset from the map centre in pixels, east and north positive; false where the frame or the
// place is unusable or the offset lies too far off any picture to be held in a pixel coordinate.
bool project(const map_frame& frame, double latitude, double longitude, platform::POINT& offset);

} // namespace zor
