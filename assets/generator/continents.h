#pragma once

// The six regions of the globe's texture and the continent a place belongs to.
namespace assets {

constexpr int texture_width = 512;
constexpr int texture_height = 256;

enum region { none = 0, asia = 1, north_america = 2, south_america = 3, oceania = 4, africa = 5, europe = 6 };

// The box of a region in texel coordinates: x from the west edge, y from the south edge.
struct region_box {
    int x, y, width, height;
};
region_box box_of(int region);
// Whether texel (x, y) lies in the box of the region (columns beyond 511 do not exist).
bool box_holds(int region, int x, int y);

// The continent of a place on land, from longitude and latitude in degrees (east and north positive); 0 for
// Antarctica and the open Pacific islands. Simple lines, good to a texel or two on the coasts where two
// continents meet.
int continent_at(double longitude, double latitude);

// The region mask of a land texel: the continent when its box holds the texel, else 0.
int region_of_texel(int x, int y);

} // namespace assets
