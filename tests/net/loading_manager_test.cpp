#include "net/http_client.h"
#include "net/loading_manager.h"
#include "platform/debug_log.h"
#include "platform/panel_activity.h"
#include "support/loading_marker.h"
#include "support/log_capture.h"
#include "support/stall_limit.h"
#include "support/test_http_server.h"
#include "utils/barrier.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// Records the order in which the loading thread loads objects.
struct journal {
    std::mutex m;
    std::vector<std::string> loaded;
    void add(const std::string& name) {
        std::lock_guard<std::mutex> lock(m);
        loaded.push_back(name);
    }
    std::vector<std::string> get() {
        std::lock_guard<std::mutex> lock(m);
        return loaded;
    }
};

class test_object : public cl::i_async_info_object {
public:
    test_object(journal& j, std::string name, int priority) : j(j), name(std::move(name)), prio(priority) {}
    std::int64_t timestamp() const override { return 0; }
    bool is_loaded() const override { return loaded; }
    int priority() const override { return prio; }
    void load() override {
        if (work)
            work();
        j.add(name);
        if (!failure.empty())
            throw std::runtime_error(failure);
        loaded = true;
        set_failed(false);
    }

    journal& j;
    std::string name;
    int prio;
    std::atomic<bool> loaded{false};
    std::string failure;
    std::function<void()> work; // runs first, on the loading thread
};

using ptr = boost::shared_ptr<cl::i_async_info_object>;

TEST(loading_manager, serves_higher_priorities_first_and_the_latest_request_first) {
    journal j;
    cl::loading_manager m;
    auto make = [&](const char* n, int p) { return ptr(new test_object(j, n, p)); };
    ptr P = make("P", 0), B = make("B", 1), A = make("A", 1), C = make("C", 1), Q = make("Q", 0);
    for (const ptr& o : {P, B, A, C, Q})
        m.add_request(o); // queued while stopped: [C, A, B, Q, P]
    m.add_request(A);     // already queued: no second entry
    EXPECT_EQ(m.queued_count(), 5u);
    EXPECT_TRUE(A->is_queued());
    m.start();
    ASSERT_TRUE(loading_marker::loads_done(m));
    EXPECT_EQ(j.get(), (std::vector<std::string>{"C", "A", "B", "Q", "P"}));
    EXPECT_FALSE(P->is_queued());
    m.stop();
}

TEST(loading_manager, a_failing_load_is_logged_and_marks_the_object) {
    auto log = std::make_unique<log_capture>();
    journal j;
    auto broken = boost::shared_ptr<test_object>(new test_object(j, "broken", 1));
    broken->failure = "not valid xml - can't parse";
    cl::loading_manager m;
    m.start();
    m.add_request(broken);
    ASSERT_TRUE(loading_marker::loads_done(m));
    EXPECT_FALSE(broken->is_queued());
    EXPECT_TRUE(broken->is_failed());
    m.stop();
    EXPECT_TRUE(log->contains("Loading error. not valid xml - can't parse"));
    EXPECT_TRUE(log->contains("loading_manager::process_func() exit"));
    log.reset();
    // It can be queued again.
    broken->failure.clear();
    m.start();
    m.add_request(broken);
    ASSERT_TRUE(loading_marker::loads_done(m));
    EXPECT_TRUE(broken->loaded);
    EXPECT_FALSE(broken->is_failed());
    m.stop();
}

TEST(loading_manager, stop_waits_for_the_running_load_and_keeps_the_rest_for_the_next_start) {
    journal j;
    cl::loading_manager m;
    utils::barrier started(utils::barrier_flags::starts_unset, utils::barrier_flags::manual_reset);
    auto slow = boost::shared_ptr<test_object>(new test_object(j, "slow", 1));
    // Still loading when the stop begins; it ends only then.
    slow->work = [&] {
        started.set();
        while (m.is_running())
            std::this_thread::yield();
    };
    auto waiting = boost::shared_ptr<test_object>(new test_object(j, "waiting", 0));
    m.start();
    m.add_request(slow);
    m.add_request(waiting);
    ASSERT_EQ(started.wait(30000), utils::wait_object_0);
    m.stop();
    EXPECT_EQ(j.get(), (std::vector<std::string>{"slow"}));
    EXPECT_TRUE(waiting->is_queued());
    m.start();
    ASSERT_TRUE(loading_marker::loads_done(m));
    EXPECT_TRUE(waiting->loaded);
    m.stop();
}

TEST(loading_manager, stop_during_a_transfer_to_a_silent_server_returns_promptly) {
    test_http_server server;
    stall_limit patient{60000};
    // Loads a document from a server that never answers.
    server.hold("/never");
    journal j;
    auto stuck = boost::shared_ptr<test_object>(new test_object(j, "stuck", 1));
    stuck->work = [&] {
        cl::http::client c;
        c.open();
        c.connect(server.host());
        cl::http::buffer b;
        c.get(b, L"/never");
    };
    cl::loading_manager m;
    m.start();
    m.add_request(stuck);
    ASSERT_TRUE(server.wait_until_held("/never")); // the request is out
    auto before = std::chrono::steady_clock::now();
    m.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_TRUE(stuck->is_failed());
    EXPECT_FALSE(stuck->is_queued());
}

TEST(async_info_object, is_outdated_after_a_minute_or_half_a_minute_after_a_failure) {
    journal j;
    test_object o(j, "o", 1);
    EXPECT_FALSE(o.is_outdated(1000000)); // never loaded
    o.loaded = true;
    o.set_load_time(1000);
    EXPECT_FALSE(o.is_outdated(61000));
    EXPECT_TRUE(o.is_outdated(61001));
    o.set_failed(true);
    EXPECT_FALSE(o.is_outdated(31000));
    EXPECT_TRUE(o.is_outdated(31001));
    // Across the wrap of the tick count.
    o.set_failed(false);
    o.set_load_time(0xFFFFF000u);
    EXPECT_FALSE(o.is_outdated(0x00001000u)); // 8 s later
    EXPECT_TRUE(o.is_outdated(0x0000F000u));  // 65 s later
}

TEST(loading_manager, a_request_is_pending_from_its_queueing_to_the_end_of_its_load_or_of_the_manager) {
    journal j;
    const int before = platform::pending_loads();
    {
        cl::loading_manager m;
        auto held = boost::shared_ptr<test_object>(new test_object(j, "held", 1));
        ptr waiting(new test_object(j, "waiting", 0)), never(new test_object(j, "never", 0));
        loading_marker gate(0, true);
        held->work = [&] { gate.load(); };
        m.add_request(held);
        m.add_request(waiting);
        EXPECT_EQ(platform::pending_loads(), before + 2);
        m.start();
        ASSERT_TRUE(gate.wait_reached());
        m.add_request(held); // in transfer: still one request
        EXPECT_EQ(platform::pending_loads(), before + 2);
        gate.release();
        ASSERT_TRUE(loading_marker::loads_done(m));
        m.stop(); // the marker's own load ends with the thread
        EXPECT_EQ(platform::pending_loads(), before);
        EXPECT_EQ(j.get(), (std::vector<std::string>{"held", "waiting"}));
        m.add_request(never); // waits for a start that never comes
        EXPECT_EQ(platform::pending_loads(), before + 1);
    }
    EXPECT_EQ(platform::pending_loads(), before);
}

} // namespace
