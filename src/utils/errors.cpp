#include "utils/errors.h"

#include <cstdlib>
#include <cxxabi.h>
#include <memory>

namespace utils {

std::string type_name(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> readable(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return status == 0 && readable ? std::string(readable.get()) : std::string(type.name());
}

std::string log_text(const std::exception& e) {
    const auto* detailed = dynamic_cast<const detailed_error*>(&e);
    if (!detailed || detailed->cause().empty())
        return e.what();
    return std::string(e.what()) + " (" + detailed->cause() + ")";
}

void log_unexpected(const char* where) {
    log(std::string("Unexpected exception ") + where);
}

void check_pointer(const void* p, const std::string& expression) {
    if (!p)
        throw_error(std::logic_error("Pointer is null! " + expression));
}

trace_scope::trace_scope(const char* name) : name(name) {
    log("+ " + this->name);
}

trace_scope::~trace_scope() {
    log("- " + name);
}

} // namespace utils
