#include "app/preloading_control.h"

#include "platform/panel_activity.h"
#include "ui/graphics.h"
#include "ui/resources.h"

#include <cstdint>

namespace zor {
namespace app {

preloading_control::~preloading_control() {
    if (counted && !finished)
        platform::note_load_done();
}

void preloading_control::update(unsigned long now_ms) {
    if (finished)
        return;
    // The host waits for the pictures as for any other load.
    if (!counted) {
        counted = true;
        platform::note_load_queued();
    }
    // A page rebuilt on rotation finds the pictures decoded already and need not wait for them.
    while (index < static_cast<int>(keys.size()) &&
           cl::ui::is_image_cached(cl::ui::resources::path(keys[static_cast<std::size_t>(index)])))
        ++index;
    if (index < static_cast<int>(keys.size())) {
        if (last_time == 0)
            last_time = now_ms;
        const auto elapsed = static_cast<std::uint32_t>(now_ms - last_time);
        if (elapsed <= spacing_ms || !may_load)
            return;
        cl::ui::load_image(cl::ui::resources::path(keys[static_cast<std::size_t>(index)]));
        last_time = now_ms;
        ++index;
        may_load = false;
        if (index < static_cast<int>(keys.size()))
            return;
    }
    finished = true;
    platform::note_load_done();
    done();
}

} // namespace app
} // namespace zor
