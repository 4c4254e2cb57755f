#pragma once

#include "platform/panel_activity.h"

#include <string>
#include <vector>

namespace shell {

// The panel's frame statistics over a tour, in sections that the tour's marks name: frames drawn, the
// longest gap between two frames and the page it happened on, and the CPU the process used in the section's
// wall time. A section's gaps that ended in the first frame of a new page are kept apart, as opening a page
// may build it. The process's peak resident memory heads the report.
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
        long cpu_ms = 0;
        long wall_ms = 0;
    };
    const std::vector<section>& sections() const { return done; }

private:
    std::string running = "start";
    long running_cpu_ms = 0;
    long running_wall_ms = 0;
    std::vector<section> done;
};

} // namespace shell
