// CPU that a running panel uses per ten seconds when nobody touches it, on every page: the shell walks
// bench/pages.tour against the content server on loopback and is left alone on each page; its frame report
// gives the process's CPU time in each of those sections. A whole run, not a rate: a plain program.
//
//   idle_pages [--seconds N] [--tour FILE]
//
// Prints one line a page (goal: under 0.5 % of a core; '!' marks a miss) with the loop's ticks while idle
// and the page the panel showed; the screenshot of each page is left in the run's folder when --keep is
// given.
#include "shell_run.h"
#include "support/server_process.h"
#include "support/temp_folder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

constexpr double goal_percent = 0.5;

} // namespace

int main(int argc, char** argv) {
    int seconds = 10;
    std::string tour_file = ZOR_PAGES_TOUR, keep;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--seconds") == 0)
            seconds = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--tour") == 0)
            tour_file = argv[i + 1];
        else if (std::strcmp(argv[i], "--keep") == 0)
            keep = argv[i + 1];
    }
    const std::string tour_text = read_text(tour_file);
    if (tour_text.empty()) {
        std::fprintf(stderr, "idle_pages: cannot read %s\n", tour_file.c_str());
        return 1;
    }
    served_panel served;
    if (!served.ready("idle_pages"))
        return 1;
    const temp_folder& work = served.work;
    const std::string tour = pages_tour(tour_text, seconds * 1000, false);
    const std::string run = work.file("run");
    const bool finished =
        run_shell(run, work.file("panel"), tour, 120 + 20 * seconds, {"--frame-report", run + "/frames.txt"});
    const std::string report = read_text(run + "/frames.txt");
    if (!keep.empty()) {
        std::filesystem::remove_all(keep);
        std::filesystem::copy(run, keep, std::filesystem::copy_options::recursive);
    }
    if (!finished || report.empty()) {
        std::fprintf(stderr, "idle_pages: the tour did not finish\n");
        return 1;
    }

    std::printf(
        "CPU of a panel left alone on each page, per 10 s of wall time (goal: under %.1f %% of a core;\n"
        "'!' marks a miss), the frame loop's ticks meanwhile (40 a second, most of them drawing nothing)\n"
        "and the page it showed.\n\n",
        goal_percent);
    std::printf("%-16s %12s %10s %8s  %s\n", "page", "cpu/10 s", "of a core", "ticks", "page shown");
    int missed = 0;
    std::string results;
    for (const report_section& s : read_report_sections(report)) {
        if (s.name.rfind("idle-", 0) != 0 || s.wall_ms <= 0)
            continue;
        const double per_10s = 10000.0 * s.cpu_ms / s.wall_ms, percent = 100.0 * s.cpu_ms / s.wall_ms;
        const std::string page = s.name.substr(5);
        missed += percent >= goal_percent;
        std::printf("%-16s %9.0f ms %8.2f %%%s %7ld  %s\n", page.c_str(), per_10s, percent,
                    percent >= goal_percent ? "!" : " ", s.frames, s.page.c_str());
        char line[256];
        std::snprintf(line, sizeof line, "RESULT\tidle CPU, %s (%s)\t%.2f %% of a core\t< %.1f %%\t%.2f\n",
                      page.c_str(), s.page.c_str(), percent, goal_percent, percent / goal_percent);
        results += line;
    }
    // For scripts/bench.
    std::printf("\n%s", results.c_str());
    return missed == 0 ? 0 : 2;
}
