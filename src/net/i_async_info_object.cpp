#include "net/i_async_info_object.h"

#include "utils/log.h"

namespace cl {

i_async_info_object::~i_async_info_object() {
    utils::log("~i_async_info_object()");
}

bool i_async_info_object::is_outdated(std::uint32_t now_ms) const {
    if (!is_loaded())
        return false;
    const std::uint32_t age = now_ms - load_time();
    return age > (is_failed() ? 30000u : 60000u);
}

} // namespace cl
