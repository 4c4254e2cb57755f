#pragma once

#include "net/i_async_info_object.h"
#include "utils/atomic_long.h"
#include "utils/barrier.h"
#include "utils/mutex.h"
#include "utils/thread.h"

#include <boost/shared_ptr.hpp>
#include <list>

namespace cl {

// The one loading thread and its queue: higher priorities first, and within one priority the latest request
// first, so the page the user looks at now gets its data before older requests.
class loading_manager {
public:
    using object_ptr = boost::shared_ptr<i_async_info_object>;

    loading_manager();
    virtual ~loading_manager();
    loading_manager(const loading_manager&) = delete;
    loading_manager& operator=(const loading_manager&) = delete;

    void start();
    // Waits for the thread; a transfer in flight is aborted, so this never waits on a dead server.
    void stop();
    void add_request(const object_ptr& object);

    bool is_running() const { return running != 0; }
    std::size_t queued_count() const { return static_cast<std::size_t>(static_cast<std::int32_t>(count)); }

private:
    void process_func();

    utils::mutex queue_mutex;
    utils::barrier wake;
    utils::thread worker;
    utils::atomic_long running;
    utils::atomic_long count;
    std::list<object_ptr> queue;
};

} // namespace cl
