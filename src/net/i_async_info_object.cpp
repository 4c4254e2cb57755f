#include "net/i_async_info_object.h"

#include "utils/document_text.h"
#include "utils/errors.h"
#include "utils/log.h"

namespace cl {

i_async_info_object::~i_async_info_object() {
    utils::log("~i_async_info_object()");
}

bool i_async_info_object::is_outdated(std::uint32_t now_ms) const {
    if (!is_loaded())
        return false;
    const std::uint32_t age = now_ms - load_time();
    return age > (is_failed() || copy_time() != 0 ? 30000u : 60000u);
}

bool i_async_info_object::attempt(const std::function<void()>& work, const std::wstring& failure,
                                  const std::wstring& unexpected, reason_line layout) {
    const bool ok = logged_attempt(work, failure, unexpected, layout);
    set_failed(!ok);
    return ok;
}

bool logged_attempt(const std::function<void()>& work, const std::wstring& failure,
                    const std::wstring& unexpected, reason_line layout) {
    try {
        work();
        return true;
    } catch (const std::exception& e) {
        const std::string reason = "Error: " + utils::log_text(e);
        if (layout == reason_line::after) {
            utils::log(failure + L" " + utils::widen_document_text(reason.c_str()));
        } else {
            utils::log(failure);
            utils::log(reason);
        }
    } catch (...) {
        utils::log(unexpected);
    }
    return false;
}

} // namespace cl
