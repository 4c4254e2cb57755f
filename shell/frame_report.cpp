#include "frame_report.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

namespace shell {

namespace {

std::string page_or_dash(const std::string& page) {
    return page.empty() ? "-" : page;
}

// User and system time of every thread of the process: the shell's, the panel's loop and its loading.
long process_cpu_ms() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000L +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000L;
}

long wall_ms() {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now().time_since_epoch())
                                 .count());
}

long peak_rss_kb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss; // kilobytes on Linux
}

} // namespace

frame_report::frame_report() {
    // What the panel drew before the tour began is not the tour's.
    platform::take_frame_stats();
    running_cpu_ms = process_cpu_ms();
    running_wall_ms = wall_ms();
}

void frame_report::mark(const std::string& name) {
    finish();
    running = name;
}

void frame_report::finish() {
    const long cpu = process_cpu_ms(), wall = wall_ms();
    done.push_back(
        section{running, platform::take_frame_stats(), cpu - running_cpu_ms, wall - running_wall_ms});
    running_cpu_ms = cpu;
    running_wall_ms = wall;
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
    out << "frames " << frames << "\nlongest_gap_ms " << longest << "\npage " << page_or_dash(page)
        << "\npeak_rss_kb " << peak_rss_kb() << "\n";
    for (const section& s : done)
        out << "section " << s.name << " frames " << s.stats.frames << " longest_gap_ms "
            << s.stats.longest_gap_ms << " page " << page_or_dash(s.stats.longest_gap_page)
            << " entry_gap_ms " << s.stats.longest_entry_gap_ms << " entry_page "
            << page_or_dash(s.stats.longest_entry_gap_page) << " cpu_ms " << s.cpu_ms << " wall_ms "
            << s.wall_ms << "\n";
    return out.str();
}

bool frame_report::write(const std::string& path) const {
    std::ofstream out(path);
    out << text();
    return static_cast<bool>(out.flush());
}

} // namespace shell
