#include "utils/trackable.h"

namespace utils {

trackable::~trackable() {
    destroying = true;
    // untrack never calls back into this object, so the map stays stable while walked.
    for (auto& entry : trackers)
        entry.first->untrack(this);
    trackers.clear();
}

bool trackable::add_tracker(tracker* t) {
    if (destroying)
        return false;
    ++trackers[t];
    return true;
}

void trackable::remove_tracker(tracker* t) {
    auto it = trackers.find(t);
    if (it == trackers.end())
        return;
    if (--it->second <= 0)
        trackers.erase(it);
}

int trackable::tracker_count(tracker* t) const {
    auto it = trackers.find(t);
    return it == trackers.end() ? 0 : it->second;
}

} // namespace utils
