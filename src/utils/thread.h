#pragma once

#include "utils/function.h"

#include <boost/shared_ptr.hpp>

namespace utils {

// A started thread. Its entry runs inside a catch-all: an escaping exception ends the thread quietly.
// Nothing stops a thread from outside; owners ask it to end and then join it.
class thread {
public:
    thread() = default;
    thread(const thread&) = delete;
    thread& operator=(const thread&) = delete;
    ~thread();

    // Starts a new thread; a previous one is not waited for. Throws utils::system_error
    // "Can't create thread" when the system refuses.
    void start(const function0<void>& entry);

    // Waits for the last started thread to end; returns at once when none was started, when it has
    // already been joined, or when called from that thread itself.
    void join();

    bool started() const { return record != nullptr; }
    // Whether the last started thread has returned from its entry (false when none was started).
    bool ended() const;
    // Whether the caller runs on the last started thread.
    bool is_current() const;

    struct start_record;

private:
    boost::shared_ptr<start_record> record;
};

} // namespace utils
