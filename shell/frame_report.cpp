#include "frame_report.h"

#include <fstream>
#include <sstream>

namespace shell {

namespace {

std::string page_or_dash(const std::string& page) {
    return page.empty() ? "-" : page;
}

} // namespace

frame_report::frame_report() {
    // What the panel drew before the tour began is not the tour's.
    platform::take_frame_stats();
}

void frame_report::mark(const std::string& name) {
    finish();
    running = name;
}

void frame_report::finish() {
    done.push_back(section{running, platform::take_frame_stats()});
}

std::string frame_report::text() const {
    std::uint64_t frames = 0;
    std::uint32_t longest = 0;
    std::string page;
    for (const section& s : done) {
        frames += s.stats.frames;
        if (s.stats.longest_gap_ms > longest) {
            longest = s.stats.longest_gap_ms;
            page = s.stats.longest_gap_page;
        }
        if (s.stats.longest_entry_gap_ms > longest) {
            longest = s.stats.longest_entry_gap_ms;
            page = s.stats.longest_entry_gap_page;
        }
    }
    std::ostringstream out;
    out << "frames " << frames << "\nlongest_gap_ms " << longest << "\npage " << page_or_dash(page) << "\n";
    for (const section& s : done)
        out << "section " << s.name << " frames " << s.stats.frames << " longest_gap_ms "
            << s.stats.longest_gap_ms << " page " << page_or_dash(s.stats.longest_gap_page)
            << " entry_gap_ms " << s.stats.longest_entry_gap_ms << " entry_page "
            << page_or_dash(s.stats.longest_entry_gap_page) << "\n";
    return out.str();
}

bool frame_report::write(const std::string& path) const {
    std::ofstream out(path);
    out << text();
    return static_cast<bool>(out.flush());
}

} // namespace shell
