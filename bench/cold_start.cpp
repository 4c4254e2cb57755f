// From loading the library to the first drawn home page with headlines, in two parts: the opening pictures
// (five at least 500 ms apart, while input is ignored), then the time from their end to the home page with
// its headlines and with their pictures. Three starts of the shell each: with an empty cache against the
// content server on loopback, with the copies of an earlier start against it, and with those copies while
// the server is down. Reads the panel's log, whose lines carry the tick count.
//
//   cold_start [--runs N]
#include "shell_run.h"
#include "support/server_process.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Tick counts of the log's first line and of the first line holding each mark; -1 where there is none.
struct start_times {
    long first = -1, opened = -1, headlines = -1, pictures = -1;
};

start_times read_log(const std::string& log) {
    start_times t;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        long tick = 0;
        int used = 0;
        if (std::sscanf(line.c_str(), " %ld %n", &tick, &used) < 1)
            continue;
        const std::string text = line.substr(static_cast<std::size_t>(used));
        if (t.first < 0)
            t.first = tick;
        if (t.opened < 0 && text == "Opening pictures shown")
            t.opened = tick;
        if (t.headlines < 0 && text.rfind("Home shows ", 0) == 0 && text != "Home shows its pictures")
            t.headlines = tick;
        if (t.pictures < 0 && text == "Home shows its pictures")
            t.pictures = tick;
    }
    return t;
}

long median(std::vector<long> v) {
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct figures {
    std::vector<long> opening, headlines, pictures;
};

void add(figures& f, const start_times& t) {
    if (t.first < 0 || t.opened < 0)
        return;
    f.opening.push_back(t.opened - t.first);
    f.headlines.push_back(t.headlines < 0 ? -1 : t.headlines - t.opened);
    f.pictures.push_back(t.pictures < 0 ? -1 : t.pictures - t.opened);
}

std::string ms(long v) {
    return v < 0 ? std::string("    never") : std::to_string(v) + " ms";
}

} // namespace

int main(int argc, char** argv) {
    int runs = 5;
    for (int i = 1; i + 1 < argc; i += 2)
        if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));

    temp_folder work;
    use_private_user_files(work.path());
    // Once the home page has its pictures nothing more is timed.
    const std::string tour = "settle 20000\nquit\n";
    const std::string cache = work.file("XDG_CACHE_HOME");

    // One port throughout: the copies are kept by the server's address, as a user's server keeps its own.
    const int port = free_port();
    auto server = std::make_unique<server_process>(ZOR_CONTENT_SERVER,
                                                   std::vector<std::string>{"--port", std::to_string(port)});
    if (!server->ready()) {
        std::fprintf(stderr, "cold_start: the content server did not start\n");
        return 1;
    }
    make_panel(work.file("panel"), port);
    figures cold, warm, offline;
    int n = 0;
    auto start = [&](figures& into) {
        const std::string folder = work.file("run" + std::to_string(n++));
        if (run_shell(folder, work.file("panel"), tour, 60))
            add(into, read_log(read_text(folder + "/panel.log")));
    };
    for (int i = 0; i < runs; ++i) {
        fs::remove_all(cache);
        start(cold);
        start(warm);
    }
    server.reset();
    for (int i = 0; i < runs; ++i)
        start(offline);

    std::printf("Start of the panel, median of %d starts each: the opening pictures, then from their end to\n"
                "the home page with its headlines and with their pictures.\n\n",
                runs);
    std::printf("%-40s %12s %14s %14s\n", "start", "opening", "headlines", "pictures");
    const std::pair<const char*, figures*> rows[] = {{"empty cache, server up", &cold},
                                                     {"copies of the last start, server up", &warm},
                                                     {"copies of the last start, server down", &offline}};
    for (const auto& r : rows)
        std::printf("%-40s %12s %14s %14s\n", r.first, ms(median(r.second->opening)).c_str(),
                    ms(median(r.second->headlines)).c_str(), ms(median(r.second->pictures)).c_str());
    // For scripts/bench: the empty cache's start, the opening pictures and then the filled home page.
    const long opening = median(cold.opening), pictures = median(cold.pictures);
    std::printf("\nRESULT\tstart, the opening pictures (five, 500 ms apart)\t%ld ms\tabout 2500 ms\t-\n",
                opening);
    std::printf(
        "RESULT\tstart, from the opening pictures' end to the home page with headlines\t%ld ms\t-\t-\n",
        median(cold.headlines));
    std::printf(
        "RESULT\tstart, from the opening pictures' end to the home page with its pictures\t%ld ms\t< 100 "
        "ms\t%.2f\n",
        pictures, pictures < 0 ? 99.0 : pictures / 100.0);
    return 0;
}
