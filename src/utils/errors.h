#pragma once

#include "utils/log.h"

#include <boost/shared_ptr.hpp>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <typeinfo>

namespace utils {

// Mixed into every thrown error: it can be kept after its handler ends and thrown again with its type.
class rethrowable {
public:
    virtual ~rethrowable() = default;
    [[noreturn]] virtual void rethrow() const = 0;
    virtual boost::shared_ptr<rethrowable> clone() const = 0;
};

template <class E>
class rethrowable_exception final : public E, public rethrowable {
public:
    explicit rethrowable_exception(const E& e) : E(e) {}
    [[noreturn]] void rethrow() const override { throw rethrowable_exception(*this); }
    boost::shared_ptr<rethrowable> clone() const override {
        return boost::shared_ptr<rethrowable>(new rethrowable_exception(*this));
    }
};

class base_error : public std::runtime_error {
public:
    explicit base_error(const std::string& message) : std::runtime_error(message) {}
};

class system_error : public base_error {
public:
    system_error(const std::string& message, std::uint32_t code) : base_error(message), code_(code) {}
    std::uint32_t code() const { return code_; }

private:
    std::uint32_t code_;
};

class com_error : public base_error {
public:
    explicit com_error(const std::string& message, std::int32_t code = 0)
        : base_error(message), code_(code) {}
    std::int32_t code() const { return code_; }

private:
    std::int32_t code_;
};

class opengl_error : public base_error {
public:
    opengl_error(const std::string& message, std::int32_t code) : base_error(message), code_(code) {}
    std::int32_t code() const { return code_; }

private:
    std::int32_t code_;
};

// A failure whose message is one of a few fixed texts that callers compare, and whose cause (what the
// transport saw: a stall, a reset, a refusal) is kept apart for the log.
class detailed_error : public std::runtime_error {
public:
    detailed_error(const std::string& message, std::string cause)
        : std::runtime_error(message), cause_(std::move(cause)) {}
    const std::string& cause() const { return cause_; }

private:
    std::string cause_;
};

// The message of a failure for its log line: what(), then the cause in brackets when it has one.
std::string log_text(const std::exception& e);

// The readable name of a type, as the runtime type information gives it.
std::string type_name(const std::type_info& type);

// Every failure is raised here: one log line, then the error wrapped so that it can be rethrown later.
template <class E>
[[noreturn]] void throw_error(const E& e) {
    log("Exception " + type_name(typeid(E)) + " " + e.what());
    throw rethrowable_exception<E>(e);
}

// For catch-all handlers.
void log_unexpected(const char* where);

// Raises std::logic_error "Pointer is null! " + expression when p is null.
void check_pointer(const void* p, const std::string& expression);

// Writes "+ name" now and "- name" when the scope ends, also when it ends by an exception.
class trace_scope {
public:
    explicit trace_scope(const char* name);
    ~trace_scope();
    trace_scope(const trace_scope&) = delete;
    trace_scope& operator=(const trace_scope&) = delete;

private:
    std::string name;
};

} // namespace utils
