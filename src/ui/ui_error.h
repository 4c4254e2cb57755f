#pragma once

#include "utils/errors.h"

namespace cl {
namespace ui {

// Window and drawing failures, with the system's error code.
class ui_error : public utils::system_error {
public:
    ui_error(const std::string& message, std::uint32_t code) : utils::system_error(message, code) {}
};

// Image resource table failures.
class res_error : public utils::base_error {
public:
    explicit res_error(const std::string& message) : utils::base_error(message) {}
};

} // namespace ui
} // namespace cl
