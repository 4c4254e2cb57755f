#include "loop/event_queue.h"

#include <cassert>

namespace cl {
namespace app {

void event_queue::push(const event& e) {
    utils::lock_guard lock(m);
    events.push_back(e);
}

bool event_queue::empty() {
    utils::lock_guard lock(m);
    return events.empty();
}

event event_queue::pop() {
    utils::lock_guard lock(m);
    assert(!events.empty());
    event e = events.front();
    events.pop_front();
    return e;
}

} // namespace app
} // namespace cl
