#pragma once

#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>

namespace utils {

// What a model object's lock_X() gives, held for as long as the guard lives: the guard keeps the object
// alive and calls unlock_X() when it ends, on every return and exception. lock_X() gives null, and takes
// no lock, when there is nothing to read; then get() is null and nothing is unlocked.
template <class Owner, class T, T* (Owner::*lock)(), void (Owner::*unlock)()>
class locked_view : private boost::noncopyable {
public:
    explicit locked_view(boost::shared_ptr<Owner> o)
        : owner(std::move(o)), item(owner ? (*owner.*lock)() : nullptr) {}
    ~locked_view() {
        if (item)
            (*owner.*unlock)();
    }
    T* get() const { return item; }
    T* operator->() const { return item; }
    T& operator*() const { return *item; }
    explicit operator bool() const { return item != nullptr; }

private:
    boost::shared_ptr<Owner> owner;
    T* item;
};

} // namespace utils
