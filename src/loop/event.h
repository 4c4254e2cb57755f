#pragma once

#include "platform/types.h"

namespace cl {
namespace app {

// An input record queued by the window for the frame loop.
struct event {
    enum type_code {
        exit = 2,
        pause = 3,
        resume = 4,
        key_down = 5,
        key_up = 6,
        pen_down = 7,
        pen_up = 8,
        pen_move = 9,
        resize = 10,
        paint = 11,
        erase = 12,
    };

    int type = 0;
    int key = 0;
    platform::POINT pt;

    event() = default;
    event(int type, int key, int x, int y) : type(type), key(key) {
        pt.x = x;
        pt.y = y;
    }
};

} // namespace app
} // namespace cl
