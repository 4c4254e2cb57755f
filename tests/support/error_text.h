#pragma once

#include <functional>
#include <stdexcept>
#include <string>

// The message of the error of that type that the call throws, or "no error" when it returns, so that a
// comparison with the expected message fails. An error of another type goes on to the test.
template <class Error = std::exception>
std::string error_text(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& e) {
        return e.what();
    }
    return "no error";
}
