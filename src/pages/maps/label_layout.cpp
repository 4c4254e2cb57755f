#include "pages/maps/label_layout.h"

#include <cstdlib>

namespace zor {

namespace {

void move(map_label& l, int dx, int dy) {
    l.box.left += dx;
    l.box.right += dx;
    l.box.top += dy;
    l.box.bottom += dy;
    l.anchor.x += dx;
    l.anchor.y += dy;
}

// Right past the placed label or down below it, whichever is the shorter move.
void push_away(map_label& l, const platform::RECT& placed) {
    const int right = std::abs(l.box.left - placed.right) + label_gap;
    const int down = (placed.bottom - l.box.top) + label_gap;
    if (down < right)
        move(l, 0, down);
    else
        move(l, right, 0);
}

bool inside(const platform::RECT& r, const platform::RECT& area) {
    return r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom;
}

// The unplaced label highest up (then furthest left), or -1.
int next_label(const std::vector<map_label>& labels) {
    int best = -1;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const map_label& l = labels[i];
        if (l.placed)
            continue;
        if (best < 0 || l.box.top < labels[best].box.top ||
            (l.box.top == labels[best].box.top && l.box.left < labels[best].box.left))
            best = static_cast<int>(i);
    }
    return best;
}

} // namespace

bool overlap(const platform::RECT& a, const platform::RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void place_labels(std::vector<map_label>& labels, const platform::RECT& area) {
    for (map_label& l : labels) {
        const int w = l.temperature_width + l.name_width;
        int left = l.anchor.x - (w + 1) / 2;
        if (left < area.left + 1)
            left = area.left + 1;
        int top = l.anchor.y - label_rise;
        if (top < area.top + 1)
            top = area.top + 1;
        if (left + w > area.right)
            left = area.right - w;
        int bottom = top + label_height;
        if (bottom > area.bottom) {
            bottom = area.bottom;
            top = bottom - label_height;
        }
        l.box = platform::RECT{left, top, left + w, bottom};
        l.placed = false;
        // A label wider or higher than the whole map has nowhere to go.
        l.shown = inside(l.box, area);
        if (!l.shown)
            l.placed = true;
    }
    for (int i = next_label(labels); i >= 0; i = next_label(labels)) {
        map_label& l = labels[static_cast<std::size_t>(i)];
        // A label pushed off one neighbour may have landed on another that was placed before: it moves on
        // and is taken again in its new turn.
        bool moved = false;
        for (const map_label& other : labels) {
            if (&other != &l && other.placed && other.shown && overlap(l.box, other.box)) {
                push_away(l, other.box);
                moved = true;
                break;
            }
        }
        if (moved) {
            if (!inside(l.box, area)) {
                l.shown = false;
                l.placed = true;
            }
            continue;
        }
        l.placed = true;
        for (map_label& other : labels) {
            if (other.placed || !overlap(other.box, l.box))
                continue;
            push_away(other, l.box);
            if (!inside(other.box, area)) {
                other.shown = false;
                other.placed = true;
            }
        }
    }
}

} // namespace zor
