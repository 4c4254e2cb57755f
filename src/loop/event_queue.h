#pragma once

#include "loop/event.h"
#include "utils/mutex.h"

#include <deque>

namespace cl {
namespace app {

// First in, first out; each operation holds the lock only for its own duration, so a handler may post.
class event_queue {
public:
    void push(const event& e);
    bool empty();
    // The queue must not be empty.
    event pop();

private:
    utils::mutex m;
    std::deque<event> events;
};

} // namespace app
} // namespace cl
