#include "app/preloading_control.h"

#include "ui/graphics.h"
#include "ui/resources.h"

#include <cstdint>

namespace zor {
namespace app {

void preloading_control::update(unsigned long now_ms) {
    if (finished)
        return;
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
    done();
}

} // namespace app
} // namespace zor
