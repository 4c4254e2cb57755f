#pragma once

#include <atomic>
#include <cstdint>

namespace utils {

class atomic_long {
public:
    atomic_long() : value(0) {}
    explicit atomic_long(std::int32_t v) : value(v) {}
    atomic_long(const atomic_long&) = delete;
    atomic_long& operator=(const atomic_long&) = delete;

    // Each returns the new value, except exchange, which returns the old one.
    std::int32_t increment() { return value.fetch_add(1) + 1; }
    std::int32_t decrement() { return value.fetch_sub(1) - 1; }
    std::int32_t exchange(std::int32_t v) { return value.exchange(v); }
    std::int32_t add(std::int32_t delta) { return value.fetch_add(delta) + delta; }

    operator std::int32_t() const { return value.load(); }

private:
    std::atomic<std::int32_t> value;
};

} // namespace utils
