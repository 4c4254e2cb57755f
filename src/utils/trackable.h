#pragma once

#include <map>

namespace utils {

class trackable;

// Anything that holds connections to trackables and must forget them when a trackable dies.
class tracker {
public:
    virtual void untrack(trackable* t) = 0;

protected:
    ~tracker() = default;
};

// Base of receivers: when it dies, every tracker holding a connection to it forgets that connection.
class trackable {
public:
    trackable() = default;
    // A copy is a new receiver: it starts without connections.
    trackable(const trackable&) {}
    trackable& operator=(const trackable&) { return *this; }
    virtual ~trackable();

    // Refused (false) once the destructor has started.
    bool add_tracker(tracker* t);
    void remove_tracker(tracker* t);

    // Number of connections the tracker holds to this receiver; 0 when absent.
    int tracker_count(tracker* t) const;

private:
    bool destroying = false;
    std::map<tracker*, int> trackers;
};

} // namespace utils
