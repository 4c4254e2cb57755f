// The longest time the panel goes without a frame while a tour walks through every page: once against the
// content server answering each request after three seconds, once against a server that accepts and never
// answers. Prints one line a page; the globe's first frame, which builds its GL state and textures, apart.
// A tour takes minutes and the result is a maximum, not a rate: a plain program, not a Google Benchmark.
//
//   frame_gap [--tour FILE] [--latency MS]
//
// The tour's marks name the pages; its settle commands get a limit fit for each server.
#include "shell_run.h"
#include "support/server_process.h"
#include "support/temp_folder.h"

#include <arpa/inet.h>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <netinet/in.h>
#include <poll.h>
#include <regex>
#include <sstream>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int goal_ms = 100;

// Accepts connections and holds them without reading or answering.
class silent_server {
public:
    silent_server() {
        listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
            ::listen(listener, 64) != 0 ||
            ::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            return;
        port_ = ntohs(a.sin_port);
        worker = std::thread([this] { run(); });
    }
    ~silent_server() {
        stopping = true;
        if (worker.joinable())
            worker.join();
        for (int fd : held)
            ::close(fd);
        if (listener >= 0)
            ::close(listener);
    }
    silent_server(const silent_server&) = delete;
    silent_server& operator=(const silent_server&) = delete;
    int port() const { return port_; }

private:
    void run() {
        while (!stopping) {
            pollfd p{listener, POLLIN, 0};
            if (::poll(&p, 1, 100) > 0) {
                int fd = ::accept(listener, nullptr, nullptr);
                if (fd >= 0)
                    held.push_back(fd);
            }
        }
    }

    int listener = -1;
    int port_ = 0;
    std::atomic<bool> stopping{false};
    std::vector<int> held;
    std::thread worker;
};

// The tour with every settle given the limit.
std::string with_settle_limit(const std::string& tour, int limit_ms) {
    static const std::regex settle(R"re((^|\n)settle [0-9]+)re");
    return std::regex_replace(tour, settle, "$1settle " + std::to_string(limit_ms));
}

int settle_count(const std::string& tour) {
    int n = 0;
    for (std::size_t at = tour.find("settle "); at != std::string::npos; at = tour.find("settle ", at + 1))
        ++n;
    return n;
}

// Runs the shell through the tour; the frame report's text, or empty when the shell failed.
std::string run_tour(const std::string& folder, const std::string& panel, const std::string& tour,
                     int limit_s) {
    const std::string report = folder + "/frames.txt";
    if (!run_shell(folder, panel, tour, limit_s, {"--frame-report", report}))
        std::fprintf(stderr, "frame_gap: see %s\n", folder.c_str());
    return read_text(report);
}

struct section {
    long frames = 0;
    long gap = 0;
    std::string page;
    long entry_gap = 0;
    std::string entry_page;
};

// The report's section lines, by name, and their order.
std::map<std::string, section> read_sections(const std::string& report, std::vector<std::string>& order) {
    std::map<std::string, section> out;
    std::istringstream in(report);
    for (std::string line; std::getline(in, line);) {
        std::istringstream l(line);
        std::string word, name, k1, k2, k3, k4, k5;
        section s;
        if (!(l >> word) || word != "section")
            continue;
        if (l >> name >> k1 >> s.frames >> k2 >> s.gap >> k3 >> s.page >> k4 >> s.entry_gap >> k5 >>
            s.entry_page) {
            if (!out.count(name))
                order.push_back(name);
            section& kept = out[name];
            kept.frames += s.frames;
            if (s.gap >= kept.gap) {
                kept.gap = s.gap;
                kept.page = s.page;
            }
            if (s.entry_gap >= kept.entry_gap) {
                kept.entry_gap = s.entry_gap;
                kept.entry_page = s.entry_page;
            }
        }
    }
    return out;
}

std::string cell(long gap, const std::string& page) {
    char text[96];
    std::snprintf(text, sizeof text, "%5ld ms%s %s", gap, gap >= goal_ms ? " !" : "  ", page.c_str());
    return text;
}

} // namespace

int main(int argc, char** argv) {
    std::string tour_file = ZOR_FRAME_GAP_TOUR;
    int latency = 3000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--tour") == 0)
            tour_file = argv[i + 1];
        else if (std::strcmp(argv[i], "--latency") == 0)
            latency = std::atoi(argv[i + 1]);
    }
    std::ifstream in(tour_file);
    if (!in) {
        std::fprintf(stderr, "frame_gap: cannot read %s\n", tour_file.c_str());
        return 1;
    }
    const std::string tour((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    // One cache and one set of user files for both runs: the silent server's run starts from what the first
    // one saved, as a phone does whose server stops answering.
    temp_folder work;
    use_private_user_files(work.path());

    std::map<std::string, section> slow, silent;
    std::vector<std::string> order;
    {
        server_process server(ZOR_CONTENT_SERVER, {"--port", "0", "--latency", std::to_string(latency)});
        if (!server.ready()) {
            std::fprintf(stderr, "frame_gap: the content server did not start\n");
            return 1;
        }
        make_panel(work.file("panel"), server.port());
        const std::string t = with_settle_limit(tour, 2 * latency);
        slow = read_sections(
            run_tour(work.file("slow"), work.file("panel"), t, 60 + settle_count(t) * 3 * latency / 1000),
            order);
    }
    {
        silent_server server;
        name_server(work.file("panel"), server.port());
        const int limit = 4000;
        const std::string t = with_settle_limit(tour, limit);
        std::vector<std::string> more;
        silent = read_sections(
            run_tour(work.file("silent"), work.file("panel"), t, 60 + settle_count(t) * 2 * limit / 1000),
            more);
        for (const std::string& name : more)
            if (!slow.count(name))
                order.push_back(name);
    }

    std::printf(
        "Longest gap between two frames per page (goal: under %d ms; '!' marks a miss), and the page the\n"
        "panel showed then. Against the content server with --latency %d, then a server that never "
        "answers.\n\n",
        goal_ms, latency);
    std::printf("%-16s %-34s %-34s\n", "page", "latency", "silent server");
    for (const std::string& name : order) {
        if (name == "start" || name == "back")
            continue;
        const section a = slow.count(name) ? slow[name] : section(),
                      b = silent.count(name) ? silent[name] : section();
        if (name == "globe") {
            std::printf("%-16s %-34s %-34s\n", name.c_str(), cell(a.gap, a.page).c_str(),
                        cell(b.gap, b.page).c_str());
            std::printf("%-16s %-34s %-34s\n", "globe 1st frame", cell(a.entry_gap, a.entry_page).c_str(),
                        cell(b.entry_gap, b.entry_page).c_str());
            continue;
        }
        const bool a_entry = a.entry_gap > a.gap, b_entry = b.entry_gap > b.gap;
        std::printf("%-16s %-34s %-34s\n", name.c_str(),
                    cell(std::max(a.gap, a.entry_gap), a_entry ? a.entry_page : a.page).c_str(),
                    cell(std::max(b.gap, b.entry_gap), b_entry ? b.entry_page : b.page).c_str());
    }
    return 0;
}
