#include "utils/signal.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using calls = std::vector<std::string>;

struct receiver : utils::trackable {
    receiver(calls& log, std::string name) : log(&log), name(std::move(name)) {}
    void on_int(int v) { log->push_back(name + ":" + std::to_string(v)); }
    void on_text(const std::wstring& t) { log->push_back(name + ":" + std::string(t.begin(), t.end())); }
    calls* log;
    std::string name;
};

// Not trackable: its connections live as long as the signal.
struct plain_receiver {
    int count = 0;
    void on_int(int) { ++count; }
};

using int_signal = utils::signal<utils::function1<void, int>>;
using int_slot = utils::function1<void, int>;

TEST(signal, calls_each_connection_in_order_and_twice_when_connected_twice) {
    calls log;
    receiver a(log, "a"), b(log, "b");
    plain_receiver p;
    int_signal s;
    s(1); // nothing connected: nothing happens
    s.connect(int_slot(&a, &receiver::on_int));
    s.connect(int_slot(&b, &receiver::on_int));
    s.connect(int_slot(&a, &receiver::on_int));
    s.connect(int_slot(&p, &plain_receiver::on_int));
    s(7);
    s(8);
    EXPECT_EQ(log, (calls{"a:7", "b:7", "a:7", "a:8", "b:8", "a:8"}));
    EXPECT_EQ(p.count, 2); // untracked receivers stay connected too
}

TEST(signal, whichever_dies_first_of_receiver_and_signal_the_other_is_left_clean) {
    calls log;
    int_signal s1, s2;
    {
        receiver a(log, "a");
        s1.connect(int_slot(&a, &receiver::on_int));
        s1.connect(int_slot(&a, &receiver::on_int));
        s2.connect(int_slot(&a, &receiver::on_int));
        EXPECT_EQ(s1.connection_count(), 2u);
    }
    s1(1);
    s2(2);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(s1.connection_count(), 0u);
    EXPECT_EQ(s2.connection_count(), 0u);

    // A signal destroyed first leaves no registration in its receivers.
    receiver a(log, "a");
    auto s = std::make_unique<int_signal>();
    s->connect(int_slot(&a, &receiver::on_int));
    s->connect(int_slot(&a, &receiver::on_int));
    int_signal other;
    other.connect(int_slot(&a, &receiver::on_int));
    s.reset();
    // The receiver still dies cleanly and still serves the other signal.
    other(3);
    EXPECT_EQ(log, (calls{"a:3"}));
}

TEST(signal, a_connection_made_during_emission_is_called_in_the_same_emission) {
    calls log;
    receiver late(log, "late");
    int_signal s;
    bool connected = false;
    s.connect(int_slot([&](int v) {
        log.push_back("first:" + std::to_string(v));
        if (!connected) {
            connected = true;
            s.connect(int_slot(&late, &receiver::on_int));
        }
    }));
    s(5);
    EXPECT_EQ(log, (calls{"first:5", "late:5"}));
}

TEST(signal, receivers_destroyed_during_emission_by_another_or_by_themselves_are_skipped_safely) {
    calls log;
    struct self_destroyer : utils::trackable {
        std::unique_ptr<self_destroyer>* owner;
        void fire(int) { owner->reset(); }
    };
    auto self = std::make_unique<self_destroyer>();
    self->owner = &self;
    auto victim = std::make_unique<receiver>(log, "victim");
    receiver after(log, "after");
    int_signal s;
    s.connect(int_slot([&](int) {
        log.push_back("killer");
        victim.reset();
    }));
    s.connect(int_slot(victim.get(), &receiver::on_int));
    s.connect(int_slot(self.get(), &self_destroyer::fire));
    s.connect(int_slot(&after, &receiver::on_int));
    s(1);
    EXPECT_EQ(self, nullptr);
    EXPECT_EQ(log, (calls{"killer", "after:1"}));
    EXPECT_EQ(s.connection_count(), 2u);
    s(2);
    EXPECT_EQ(log, (calls{"killer", "after:1", "killer", "after:2"}));
}

TEST(signal, destroying_the_signal_owner_during_emission_finishes_the_emission) {
    calls log;
    struct owner {
        int_signal changed;
    };
    auto o = std::make_unique<owner>();
    receiver a(log, "a"), b(log, "b");
    o->changed.connect(int_slot(&a, &receiver::on_int));
    o->changed.connect(int_slot([&](int) { o.reset(); }));
    o->changed.connect(int_slot(&b, &receiver::on_int));
    o->changed(9);
    EXPECT_EQ(o, nullptr);
    EXPECT_EQ(log, (calls{"a:9", "b:9"}));
}

TEST(signal, a_receiver_dying_after_its_signal_died_mid_emission_is_not_called) {
    calls log;
    auto s = std::make_unique<int_signal>();
    auto b = std::make_unique<receiver>(log, "b");
    s->connect(int_slot([&](int) {
        s.reset();
        b.reset();
    }));
    s->connect(int_slot(b.get(), &receiver::on_int));
    (*s)(1);
    EXPECT_TRUE(log.empty());
}

TEST(signal, arguments_are_copied_for_each_receiver) {
    using text_signal = utils::signal<utils::function1<void, std::wstring>>;
    std::vector<std::wstring> seen;
    text_signal s;
    s.connect(utils::function1<void, std::wstring>([&](std::wstring t) {
        seen.push_back(t);
        t = L"changed";
    }));
    s.connect(utils::function1<void, std::wstring>([&](std::wstring t) { seen.push_back(t); }));
    s(std::wstring(L"news"));
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"news", L"news"}));
}

TEST(function, adapts_a_const_reference_callable_keeps_its_receiver_and_compares_by_target_and_method) {
    calls log;
    receiver a(log, "a"), b(log, "b");
    int_slot fa(&a, &receiver::on_int), fa2(&a, &receiver::on_int), fb(&b, &receiver::on_int);
    int_slot copy = fa;
    EXPECT_TRUE(copy.same_target(fa));
    EXPECT_TRUE(fa2.same_target(fa));
    EXPECT_FALSE(fb.same_target(fa));
    copy(3);

    auto r = std::make_unique<receiver>(log, "r");
    utils::function1<void, const std::wstring&> by_ref(r.get(), &receiver::on_text);
    utils::function1<void, std::wstring> by_value(by_ref);
    EXPECT_EQ(by_value.get_target(), r.get());
    utils::signal<utils::function1<void, std::wstring>> s;
    s.connect(by_value);
    s(std::wstring(L"hi"));
    r.reset();
    s(std::wstring(L"gone"));
    EXPECT_EQ(log, (calls{"a:3", "r:hi"}));
}

} // namespace
