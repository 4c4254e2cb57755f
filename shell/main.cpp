// zor-shell: the home screen that hosts the panel library.
//
//   zor-shell --panel DIR [--landscape] [--log FILE] [--fps]
//   zor-shell --panel DIR --headless --tour FILE --shots DIR [--landscape] [--log FILE] [--fps]
//             [--frame-report FILE]

#include "frame_report.h"
#include "host.h"
#include "platform/debug_log.h"
#include "platform/host_switches.h"
#include "platform/sdl_display.h"
#include "tour.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sys/stat.h>

namespace {

int usage() {
    std::fprintf(stderr, "usage: zor-shell --panel DIR [--landscape] [--log FILE] [--fps]\n"
                         "       zor-shell --panel DIR --headless --tour FILE --shots DIR [--landscape] "
                         "[--log FILE] [--fps] [--frame-report FILE]\n");
    return 2;
}

int run_display(shell::host& h) {
    platform::sdl_display display("ZOR");
    h.start();
    bool running = true;
    while (running) {
        for (platform::host_event e : display.pump()) {
            switch (e) {
            case platform::host_event::quit:
                running = false;
                break;
            case platform::host_event::rotate:
                h.rotate();
                display.resize_to_screen();
                break;
            case platform::host_event::deactivated:
                h.pause();
                break;
            case platform::host_event::activated:
                h.resume();
                break;
            }
        }
        running = running && h.run_for(10);
        display.present();
    }
    h.stop();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string panel, tour, shots, log, report_file;
    bool headless = false, landscape = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        std::string* value = a == "--panel"          ? &panel
                             : a == "--tour"         ? &tour
                             : a == "--shots"        ? &shots
                             : a == "--log"          ? &log
                             : a == "--frame-report" ? &report_file
                                                     : nullptr;
        if (value) {
            if (i + 1 >= argc)
                return usage();
            *value = argv[++i];
        } else if (a == "--headless") {
            headless = true;
        } else if (a == "--landscape") {
            landscape = true;
        } else if (a == "--fps") {
            platform::set_show_fps(true);
        } else {
            return usage();
        }
    }
    if (panel.empty() || (headless && (tour.empty() || shots.empty())) || (!headless && !report_file.empty()))
        return usage();

    if (!log.empty() && !platform::set_debug_log_file(log)) {
        std::fprintf(stderr, "zor-shell: cannot open log file %s\n", log.c_str());
        return 1;
    }

    shell::host h(landscape);
    std::string error;
    if (!h.load_panel(panel, error)) {
        std::fprintf(stderr, "zor-shell: %s\n", error.c_str());
        return 1;
    }

    if (!headless) {
        try {
            return run_display(h);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "zor-shell: no display (%s); use --headless with a tour\n", e.what());
            return 1;
        }
    }

    std::ifstream script(tour);
    if (!script) {
        std::fprintf(stderr, "zor-shell: cannot read tour %s\n", tour.c_str());
        return 1;
    }
    mkdir(shots.c_str(), 0755);
    h.start();
    shell::frame_report report;
    bool ok = shell::run_tour(h, script, shots, error, &report);
    report.finish();
    h.stop();
    if (!report_file.empty() && !report.write(report_file)) {
        std::fprintf(stderr, "zor-shell: cannot write frame report %s\n", report_file.c_str());
        return 1;
    }
    if (!ok) {
        std::fprintf(stderr, "zor-shell: tour failed at %s\n", error.c_str());
        return 1;
    }
    return 0;
}
