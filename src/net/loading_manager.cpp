#include "net/loading_manager.h"

#include "platform/http.h"
#include "platform/panel_activity.h"
#include "utils/errors.h"

#include <exception>

namespace cl {

loading_manager::loading_manager()
    : wake(utils::barrier_flags::starts_unset, utils::barrier_flags::auto_reset) {}

loading_manager::~loading_manager() {
    stop();
    // What never got its turn is no longer pending.
    for (std::size_t i = 0; i < queue.size(); ++i)
        platform::note_load_done();
}

void loading_manager::start() {
    utils::trace_scope trace("cl::loading_manager::start");
    if (running == 0) {
        running.increment();
        worker.start(utils::function0<void>(this, &loading_manager::process_func));
        // Requests that waited while the thread was stopped are served now.
        if (count != 0)
            wake.set();
    }
}

void loading_manager::stop() {
    utils::trace_scope trace("cl::loading_manager::stop");
    if (running != 0) {
        running.decrement();
        wake.set();
        // The load in progress would otherwise finish its transfer, however slow the server.
        platform::block_transfers(true);
        worker.join();
        platform::block_transfers(false);
    }
}

void loading_manager::add_request(const object_ptr& object) {
    utils::trace_scope trace("cl::loading_manager::add_request");
    if (!object)
        return;
    {
        utils::lock_guard lock(queue_mutex);
        if (object->is_queued())
            return;
        object->set_queued(true);
        const int p = object->priority();
        auto it = queue.begin();
        while (it != queue.end() && (*it)->priority() > p)
            ++it;
        queue.insert(it, object);
        count.increment();
        platform::note_load_queued();
    }
    wake.set();
}

void loading_manager::process_func() {
    while (running != 0) {
        wake.wait(utils::infinite);
        while (count != 0 && running != 0) {
            object_ptr entry;
            {
                utils::lock_guard lock(queue_mutex);
                if (queue.empty())
                    break;
                entry = queue.front();
                queue.pop_front();
                count.decrement();
            }
            if (entry && running == 0) {
                // Taken just as the thread was stopped: it goes back to wait for the next start.
                utils::lock_guard lock(queue_mutex);
                queue.push_front(entry);
                count.increment();
                break;
            }
            if (entry) {
                try {
                    entry->load();
                } catch (const std::exception& e) {
                    utils::log("Loading error. " + utils::log_text(e));
                    entry->set_failed(true);
                } catch (...) {
                    entry->set_failed(true);
                }
                entry->set_queued(false);
                platform::note_load_done();
            }
        }
    }
    utils::log("loading_manager::process_func() exit");
}

} // namespace cl
