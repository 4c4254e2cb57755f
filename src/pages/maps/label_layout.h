#pragma once

#include "platform/types.h"

#include <vector>

namespace zor {

// One city's label on a zone map: a temperature box and a name box side by side, near the city.
struct map_label {
    platform::POINT anchor;
    int temperature_width = 0;
    int name_width = 0;
    platform::RECT box;
    bool placed = false;
    // False when the label had to leave the map to stay clear of the others; it is not drawn.
    bool shown = true;
};

// Labels are 22 pixels high and sit 15 pixels above their city.
constexpr int label_height = 22;
constexpr int label_rise = 15;
constexpr int label_gap = 3;

// Puts every label next to its anchor inside area, then moves labels right or down, whichever is shorter,
// until none overlaps another; a label pushed out of the area is hidden.
void place_labels(std::vector<map_label>& labels, const platform::RECT& area);

// The boxes share pixels (right and bottom edges excluded).
bool overlap(const platform::RECT& a, const platform::RECT& b);

} // namespace zor
