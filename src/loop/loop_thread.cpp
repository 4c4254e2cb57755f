#include "loop/loop_thread.h"

#include "platform/window_system.h"
#include "utils/errors.h"

namespace cl {
namespace app {

void loop_thread::start(const boost::shared_ptr<game_loop>& gl) {
    utils::check_pointer(gl.get(), "gl == NULL");
    current = gl;
    std::unique_ptr<utils::thread> next(new utils::thread);
    next->start(utils::function0<void>(gl.get(), &game_loop::run));
    thread = std::move(next);
}

void loop_thread::post(const event& e) {
    if (current)
        current->post(e);
}

void loop_thread::join() {
    if (!thread)
        return;
    while (!thread->ended() && !thread->is_current())
        platform::handle_sent_messages(5);
    thread->join();
    thread.reset();
}

} // namespace app
} // namespace cl
