// Peak resident memory of the shell with the panel after a tour of every page (bench/pages.tour, without the
// waits), with the globe and its maps and without them, as the shell's frame report gives it.
//
//   peak_memory [--tour FILE]
#include "shell_run.h"
#include "support/server_process.h"
#include "support/temp_folder.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    std::string tour_file = ZOR_PAGES_TOUR;
    for (int i = 1; i + 1 < argc; i += 2)
        if (std::strcmp(argv[i], "--tour") == 0)
            tour_file = argv[i + 1];
    const std::string tour_text = read_text(tour_file);
    if (tour_text.empty()) {
        std::fprintf(stderr, "peak_memory: cannot read %s\n", tour_file.c_str());
        return 1;
    }
    served_panel served;
    if (!served.ready("peak_memory"))
        return 1;
    const temp_folder& work = served.work;

    struct tour_case {
        const char* name;
        bool without_globe;
        long goal_kb;
    };
    const tour_case cases[] = {{"without the globe", true, 48 * 1024}, {"with the globe", false, 80 * 1024}};
    std::printf("Peak resident memory of the shell and panel after a tour of every page.\n\n");
    int missed = 0, failed = 0;
    for (const tour_case& c : cases) {
        const std::string run = work.file(c.without_globe ? "without" : "with");
        const bool finished = run_shell(run, work.file("panel"), pages_tour(tour_text, 200, c.without_globe),
                                        300, {"--frame-report", run + "/frames.txt"});
        const long kb = read_peak_rss_kb(read_text(run + "/frames.txt"));
        if (!finished || kb < 0) {
            std::fprintf(stderr, "peak_memory: the tour %s did not finish\n", c.name);
            ++failed;
            continue;
        }
        missed += kb >= c.goal_kb;
        std::printf("%-20s %6.1f MB%s (goal: under %ld MB)\n", c.name, kb / 1024.0,
                    kb >= c.goal_kb ? " !" : "", c.goal_kb / 1024);
        std::printf("RESULT\tpeak resident memory, tour %s\t%.1f MB\t< %ld MB\t%.2f\n", c.name, kb / 1024.0,
                    c.goal_kb / 1024, static_cast<double>(kb) / c.goal_kb);
    }
    return failed ? 1 : missed ? 2 : 0;
}
