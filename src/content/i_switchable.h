#pragma once

namespace zor {

// Things that slide between items: the content strip and the navigation bar's tabs.
class i_switchable {
public:
    enum direction { settle = 0, previous = 1, next = 2, jump = 3 };
    virtual ~i_switchable() = default;
    // Returns the index current afterwards; index is used by jump only.
    virtual int switch_to(int direction, int index) = 0;
};

} // namespace zor
