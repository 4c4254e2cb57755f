#pragma once

#include <stdexcept>
#include <string>

namespace cl {
namespace http {

// One of the five fixed messages of the client; the system's error code is not kept.
class error : public std::runtime_error {
public:
    explicit error(const std::string& message) : std::runtime_error(message) {}
};

} // namespace http
} // namespace cl
