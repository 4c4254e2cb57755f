#pragma once

#include "platform/panel_activity.h"

#include <string>
#include <vector>

namespace shell {

// The panel's frame statistics over a tour, in sections that the tour's marks name: frames drawn, the
// longest gap between two frames and the page it happened on. A section's gaps that ended in the first
// frame of a new page are kept apart, as opening a page may build it.
class frame_report {
public:
    frame_report();
    // Closes the running section and starts one under the name.
    void mark(const std::string& name);
    // Closes the running section.
    void finish();
    // The report as text (the README describes it).
    std::string text() const;
    bool write(const std::string& path) const;

    struct section {
        std::string name;
        platform::frame_stats stats;
    };
    const std::vector<section>& sections() const { return done; }

private:
    std::string running = "start";
    std::vector<section> done;
};

} // namespace shell
