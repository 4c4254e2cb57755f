#pragma once

#include "net/i_async_info_object.h"
#include "net/loading_manager.h"

#include <boost/make_shared.hpp>
#include <chrono>
#include <condition_variable>
#include <limits>
#include <mutex>

// A load a test queues to follow the loading thread: it says when the thread has reached it and, when held,
// keeps the thread there until released.
class loading_marker : public cl::i_async_info_object {
public:
    explicit loading_marker(int priority, bool held = false) : rank(priority), holding(held) {}

    // Waits for the loading thread to have worked through everything queued before: a marker of the lowest
    // priority is queued last. True when it did within the time.
    static bool loads_done(cl::loading_manager& loader,
                           std::chrono::seconds limit = std::chrono::seconds(30)) {
        auto marker = boost::make_shared<loading_marker>(std::numeric_limits<int>::min());
        loader.add_request(marker);
        return marker->wait_reached(limit);
    }

    bool wait_reached(std::chrono::seconds limit = std::chrono::seconds(30)) {
        std::unique_lock<std::mutex> lock(m);
        return changed.wait_for(lock, limit, [&] { return reached; });
    }
    void release() {
        std::lock_guard<std::mutex> lock(m);
        holding = false;
        changed.notify_all();
    }

    std::int64_t timestamp() const override { return 0; }
    bool is_loaded() const override { return false; }
    int priority() const override { return rank; }
    void load() override {
        std::unique_lock<std::mutex> lock(m);
        reached = true;
        changed.notify_all();
        changed.wait(lock, [&] { return !holding; });
    }

private:
    const int rank;
    std::mutex m;
    std::condition_variable changed;
    bool reached = false;
    bool holding;
};
