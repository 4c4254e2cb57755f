#pragma once

#include "net/loading_manager.h"

#include <boost/make_shared.hpp>
#include <chrono>
#include <condition_variable>
#include <limits>
#include <mutex>

// Waits for the loading thread to have worked through everything queued before: a marker of the lowest
// priority is queued last and wakes the test when the thread reaches it. True when it did within the time.
class loads_done : public cl::i_async_info_object {
public:
    static bool wait(cl::loading_manager& loader, std::chrono::seconds limit = std::chrono::seconds(30)) {
        auto marker = boost::make_shared<loads_done>();
        loader.add_request(marker);
        std::unique_lock<std::mutex> lock(marker->m);
        return marker->cv.wait_for(lock, limit, [&] { return marker->reached; });
    }

    std::int64_t timestamp() const override { return 0; }
    bool is_loaded() const override { return false; }
    int priority() const override { return std::numeric_limits<int>::min(); }
    void load() override {
        std::lock_guard<std::mutex> lock(m);
        reached = true;
        cv.notify_all();
    }

private:
    std::mutex m;
    std::condition_variable cv;
    bool reached = false;
};
