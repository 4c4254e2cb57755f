#include "utils/atomic_long.h"
#include "utils/barrier.h"
#include "utils/mutex.h"
#include "utils/thread.h"

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace {

struct worker {
    std::atomic<int> runs{0};
    utils::barrier* gate = nullptr;
    // Set after each run.
    utils::barrier ran{utils::barrier_flags::starts_unset, utils::barrier_flags::auto_reset};
    void run() {
        if (gate)
            gate->wait(utils::infinite);
        ++runs;
        ran.set();
    }
    void fail() {
        ++runs;
        throw std::runtime_error("escapes the thread");
    }
};

TEST(thread, join_waits_for_the_entry_to_finish_can_be_repeated_and_survives_an_escaping_exception) {
    worker w;
    utils::barrier gate(utils::barrier_flags::starts_unset, utils::barrier_flags::manual_reset);
    w.gate = &gate;
    utils::thread t;
    EXPECT_FALSE(t.started());
    t.join(); // nothing started: returns at once
    t.start(utils::function0<void>(&w, &worker::run));
    EXPECT_EQ(w.runs, 0);
    gate.set();
    t.join();
    EXPECT_EQ(w.runs, 1);
    t.join();

    // An exception ends the thread quietly, and the wrapper is still usable.
    t.start(utils::function0<void>(&w, &worker::fail));
    t.join();
    EXPECT_EQ(w.runs, 2);
    t.start(utils::function0<void>(&w, &worker::run));
    t.join();
    EXPECT_EQ(w.runs, 3);
}

TEST(thread, a_wrapper_destroyed_before_its_thread_ends_does_not_wait) {
    worker w;
    utils::barrier gate(utils::barrier_flags::starts_unset, utils::barrier_flags::manual_reset);
    w.gate = &gate;
    {
        utils::thread t;
        t.start(utils::function0<void>(&w, &worker::run));
    }
    gate.set();
    EXPECT_EQ(w.ran.wait(30000), utils::wait_object_0);
    EXPECT_EQ(w.runs, 1);
}

TEST(barrier, times_out_and_wakes_when_set_also_on_another_thread) {
    utils::barrier manual(utils::barrier_flags::starts_unset, utils::barrier_flags::manual_reset);
    EXPECT_EQ(manual.wait(10), utils::wait_timeout);
    manual.set();
    EXPECT_EQ(manual.wait(0), utils::wait_object_0);
    EXPECT_EQ(manual.wait(0), utils::wait_object_0); // manual reset stays set
    manual.reset();
    EXPECT_EQ(manual.wait(0), utils::wait_timeout);

    utils::barrier automatic(utils::barrier_flags::starts_set, utils::barrier_flags::auto_reset);
    EXPECT_EQ(automatic.wait(0), utils::wait_object_0);
    EXPECT_EQ(automatic.wait(0), utils::wait_timeout); // cleared by the first waiter

    utils::barrier ready(utils::barrier_flags::starts_unset, utils::barrier_flags::auto_reset);
    std::atomic<bool> woke{false};
    std::thread t([&] { woke = ready.wait(5000) == utils::wait_object_0; });
    ready.set();
    t.join();
    EXPECT_TRUE(woke);
}

TEST(atomic_long, counts_exactly_under_contention) {
    utils::atomic_long counter(5);
    auto bump = [&] {
        for (int i = 0; i < 20000; ++i) {
            counter.increment();
            counter.increment();
            counter.decrement();
        }
    };
    std::thread a(bump), b(bump);
    a.join();
    b.join();
    EXPECT_EQ(static_cast<std::int32_t>(counter), 40005);
    EXPECT_EQ(counter.exchange(1), 40005);
    EXPECT_EQ(counter.increment(), 2);
    EXPECT_EQ(counter.decrement(), 1);
}

TEST(mutex, is_released_when_an_exception_leaves_its_guard_and_is_recursive_on_one_thread) {
    struct shared {
        utils::mutex m;
        utils::barrier done{false, false};
    };
    auto state = std::make_shared<shared>();
    try {
        utils::lock_guard g(state->m);
        throw std::runtime_error("x");
    } catch (const std::runtime_error&) {
    }
    // Another thread can take it now, twice over.
    std::thread t([state] {
        utils::lock_guard outer(state->m);
        utils::lock_guard inner(state->m);
        state->done.set();
    });
    bool finished = state->done.wait(5000) == utils::wait_object_0;
    // A deadlocked thread is left behind rather than hanging the suite.
    finished ? t.join() : t.detach();
    EXPECT_TRUE(finished);
}

} // namespace
