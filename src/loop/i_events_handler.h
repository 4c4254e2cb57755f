#pragma once

#include "loop/event.h"

namespace cl {
namespace app {

class i_events_handler {
public:
    virtual ~i_events_handler() = default;
    virtual void on_event(const event& e) = 0;
};

} // namespace app
} // namespace cl
