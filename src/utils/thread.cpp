#include "utils/thread.h"

#include "utils/errors.h"

#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>

namespace utils {

struct thread::start_record {
    std::mutex m;
    std::thread handle;
    function0<void> entry;
    std::atomic<bool> ended{false};

    ~start_record() {
        // The last reference may be dropped by the thread itself or by an owner that never joined.
        if (handle.joinable())
            handle.detach();
    }
};

namespace {
void run(boost::shared_ptr<thread::start_record> record) {
    try {
        record->entry();
    } catch (...) {
        // An exception never leaves a thread.
    }
    record->ended = true;
}
} // namespace

thread::~thread() = default;

void thread::start(const function0<void>& entry) {
    boost::shared_ptr<start_record> next(new start_record);
    next->entry = entry;
    try {
        next->handle = std::thread(run, next);
    } catch (const std::system_error& e) {
        throw_error(system_error("Can't create thread", static_cast<std::uint32_t>(e.code().value())));
    }
    record = next;
}

bool thread::ended() const {
    return record && record->ended;
}

bool thread::is_current() const {
    boost::shared_ptr<start_record> r = record;
    if (!r)
        return false;
    std::lock_guard<std::mutex> lock(r->m);
    return r->handle.get_id() == std::this_thread::get_id();
}

void thread::join() {
    boost::shared_ptr<start_record> r = record;
    if (!r)
        return;
    std::lock_guard<std::mutex> lock(r->m);
    if (r->handle.joinable() && r->handle.get_id() != std::this_thread::get_id())
        r->handle.join();
}

} // namespace utils
