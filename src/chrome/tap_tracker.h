#pragma once

#include "platform/types.h"

#include <cstdlib>

namespace zor {
namespace ui {

// A pen-down point remembered until the pen is lifted: a lift within 9 pixels of it is a tap.
class tap_tracker {
public:
    static constexpr int slop = 9;

    void press(const platform::POINT& p) {
        point = p;
        pressed = true;
    }
    // True when the pen went down and was lifted close enough; forgets the press either way.
    bool release(const platform::POINT& p) {
        const bool tap = pressed && std::abs(p.x - point.x) <= slop && std::abs(p.y - point.y) <= slop;
        pressed = false;
        return tap;
    }
    platform::POINT press_point() const { return point; }

private:
    platform::POINT point;
    bool pressed = false;
};

} // namespace ui
} // namespace zor
