#pragma once

#include "utils/errors.h"

#include <string>

namespace cl {
namespace http {

// One of the five fixed messages of the client; the system's error code is not kept, the transfer's own
// reason (stalled, over the size cap, refused, reset) goes with it as the cause for the log.
class error : public utils::detailed_error {
public:
    explicit error(const std::string& message, std::string cause = std::string())
        : utils::detailed_error(message, std::move(cause)) {}
};

} // namespace http
} // namespace cl
