#pragma once

#include <boost/noncopyable.hpp>
#include <condition_variable>
#include <mutex>

namespace utils {

constexpr unsigned long wait_object_0 = 0;
constexpr unsigned long wait_timeout = 0x102;
constexpr unsigned long infinite = 0xFFFFFFFF;

class i_waitable {
public:
    virtual ~i_waitable() = default;
    // wait_object_0 when signalled, wait_timeout otherwise; infinite waits without limit.
    virtual unsigned long wait(unsigned long timeout_ms) = 0;
};

// Names for barrier's two flags, so that a call reads what it asks for.
namespace barrier_flags {
constexpr bool starts_set = true;
constexpr bool starts_unset = false;
constexpr bool auto_reset = true;
constexpr bool manual_reset = false;
} // namespace barrier_flags

// An event: set wakes the waiters; an auto-reset event lets one waiter through and clears itself.
class barrier final : public i_waitable, private boost::noncopyable {
public:
    barrier(bool initially_set, bool auto_reset);
    unsigned long wait(unsigned long timeout_ms) override;
    void set();
    void reset();

private:
    std::mutex m;
    std::condition_variable cv;
    bool signalled;
    const bool auto_reset;
};

} // namespace utils
