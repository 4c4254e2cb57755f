#pragma once

#include "net/i_async_info_object.h"

#include <atomic>
#include <functional>

namespace cl {

// A one-off job for the loading thread: work that must not run inside a frame but fetches nothing, such as
// opening a clip. It goes ahead of the waiting transfers, since a page waits for it.
class async_job : public i_async_info_object {
public:
    explicit async_job(std::function<void()> work) : job(std::move(work)) {}

    std::int64_t timestamp() const override { return 0; }
    bool is_loaded() const override { return done.load(); }
    int priority() const override { return 2; }
    void load() override;

private:
    std::function<void()> job;
    std::atomic<bool> done{false};
};

} // namespace cl
