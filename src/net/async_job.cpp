#include "net/async_job.h"

namespace cl {

void async_job::load() {
    // Once only, and whatever it holds goes with it, on this thread.
    std::function<void()> work;
    work.swap(job);
    if (work)
        work();
    done.store(true);
}

} // namespace cl
