#include "utils/locked_view.h"

#include <boost/make_shared.hpp>
#include <boost/weak_ptr.hpp>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace {

// Gives null, and takes no lock, until it has data: as the model's lock calls do.
struct owner {
    std::vector<int> data;
    bool has_data = false;
    int locks = 0;
    int unlocks = 0;
    std::vector<int>* lock() {
        if (!has_data)
            return nullptr;
        ++locks;
        return &data;
    }
    void unlock() { ++unlocks; }
};
using view = utils::locked_view<owner, std::vector<int>, &owner::lock, &owner::unlock>;

TEST(locked_view, unlocks_once_on_every_way_out_and_never_what_it_did_not_lock) {
    auto o = boost::make_shared<owner>();
    {
        view nothing(o);
        EXPECT_FALSE(nothing);
        EXPECT_EQ(nothing.get(), nullptr);
        view no_owner(nullptr);
        EXPECT_FALSE(no_owner);
    }
    EXPECT_EQ(o->unlocks, 0);

    o->data = {4, 5};
    o->has_data = true;
    auto first = [&]() -> int {
        view v(o);
        if (v->empty())
            return -1;
        return v->front();
    };
    EXPECT_EQ(first(), 4);
    EXPECT_EQ(o->unlocks, 1);
    auto reads_then_throws = [&] {
        view v(o);
        if ((*v)[1] == 5)
            throw std::runtime_error("bad day");
    };
    EXPECT_THROW(reads_then_throws(), std::runtime_error);
    EXPECT_EQ(o->locks, 2);
    EXPECT_EQ(o->unlocks, 2);
}

TEST(locked_view, keeps_its_owner_alive_until_it_unlocks) {
    auto o = boost::make_shared<owner>();
    o->has_data = true;
    boost::weak_ptr<owner> watch = o;
    {
        view v(o);
        o.reset();
        EXPECT_FALSE(watch.expired());
        EXPECT_EQ(watch.lock()->unlocks, 0);
    }
    EXPECT_TRUE(watch.expired());
}

} // namespace
