#pragma once

#include "loop/game_loop.h"
#include "utils/thread.h"

#include <boost/shared_ptr.hpp>
#include <memory>

namespace cl {
namespace app {

// The window's holder of the frame loop and the thread that runs it.
class loop_thread {
public:
    // Throws std::logic_error "Pointer is null! gl == NULL" for a null loop.
    void start(const boost::shared_ptr<game_loop>& gl);
    bool is_running() const { return thread != nullptr; }
    void post(const event& e);
    // Waits without time-out for the thread to end, then forgets it. The calling thread goes on answering
    // the messages sent to it meanwhile: the loop may be waiting on one just when it is asked to end.
    void join();

private:
    boost::shared_ptr<game_loop> current;
    std::unique_ptr<utils::thread> thread;
};

} // namespace app
} // namespace cl
