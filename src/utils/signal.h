#pragma once

#include "utils/function.h"
#include "utils/trackable.h"

#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>
#include <list>

namespace utils {

namespace detail {

// The connections of one signal, shared by the signal and by every emission in progress, so that an
// emission survives the destruction of the signal it came from. It is the tracker that trackables
// notify: a receiver that dies during an emission only marks its connections dead, and they are
// erased when the last emission ends, so no emission ever steps onto a freed list node.
template <class F>
class slot_list final : public tracker, private boost::noncopyable {
public:
    struct slot {
        F call;
        bool alive;
    };

    ~slot_list() { release_all(); }

    void connect(const F& f) {
        slots.push_back(slot{f, true});
        if (trackable* t = f.get_target()) {
            if (!t->add_tracker(this))
                slots.back().alive = false; // the receiver is already being destroyed
        }
    }

    void untrack(trackable* t) override {
        for (auto it = slots.begin(); it != slots.end();) {
            if (it->call.get_target() == t) {
                if (emitting > 0) {
                    it->alive = false;
                    pending_erase = true;
                    ++it;
                } else {
                    it = slots.erase(it);
                }
            } else {
                ++it;
            }
        }
    }

    // The owning signal died. An emission in progress keeps calling the remaining receivers, so their
    // registrations are kept until it ends.
    void release_all() {
        if (emitting > 0) {
            orphaned = true;
            return;
        }
        for (auto& s : slots) {
            if (s.alive) {
                if (trackable* t = s.call.get_target())
                    t->remove_tracker(this);
            }
        }
        slots.clear();
    }

    template <class... Args>
    void emit(const Args&... args) {
        ++emitting;
        struct end_guard {
            slot_list* self;
            ~end_guard() {
                if (--self->emitting > 0)
                    return;
                if (self->orphaned) {
                    self->orphaned = false;
                    self->release_all();
                } else if (self->pending_erase) {
                    self->slots.remove_if([](const slot& s) { return !s.alive; });
                }
                self->pending_erase = false;
            }
        } guard{this};
        // Nodes are never erased while an emission runs, so a plain walk is safe, and since the end is
        // re-read at every step, connections added by a receiver are called in this emission too.
        for (auto it = slots.begin(); it != slots.end(); ++it) {
            if (it->alive)
                it->call(args...);
        }
    }

    std::size_t size() const {
        std::size_t n = 0;
        for (auto& s : slots)
            n += s.alive ? 1 : 0;
        return n;
    }

private:
    std::list<slot> slots;
    int emitting = 0;
    bool pending_erase = false;
    bool orphaned = false;
};

} // namespace detail

// Multicast signal of callables of type F (utils::function0/1/2). Connections end when the receiver
// (if trackable) or the signal is destroyed.
template <class F>
class signal : private boost::noncopyable {
public:
    signal() : slots(new detail::slot_list<F>) {}
    ~signal() { slots->release_all(); }

    void connect(const F& f) { slots->connect(f); }

    template <class... Args>
    void operator()(const Args&... args) const {
        boost::shared_ptr<detail::slot_list<F>> hold = slots;
        hold->emit(args...);
    }

    std::size_t connection_count() const { return slots->size(); }

private:
    boost::shared_ptr<detail::slot_list<F>> slots;
};

} // namespace utils
