#pragma once

#include <boost/noncopyable.hpp>
#include <mutex>

namespace utils {

class i_lockable : private boost::noncopyable {
public:
    virtual ~i_lockable() = default;
    virtual void lock() = 0;
    virtual void unlock() = 0;
};

// Recursive on the same thread.
class mutex final : public i_lockable {
public:
    void lock() override { m.lock(); }
    void unlock() override { m.unlock(); }

private:
    std::recursive_mutex m;
};

class lock_guard : private boost::noncopyable {
public:
    explicit lock_guard(i_lockable& l) : lockable(&l) { lockable->lock(); }
    explicit lock_guard(i_lockable* l) : lockable(l) { lockable->lock(); }
    ~lock_guard() { lockable->unlock(); }

private:
    i_lockable* lockable;
};

} // namespace utils
