#include "shell_run.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <signal.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

std::string read_text(const std::string& path) {
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void name_server(const std::string& panel, int port) {
    static const std::regex host(R"re((<(server|weather) name=")[^"]*")re");
    std::ofstream(panel + "/config.xml")
        << std::regex_replace(read_text(ZOR_PANEL_DIR "/config.xml"), host,
                              "$01127.0.0.1:" + std::to_string(port) + "\""); // $01: group 1
}

void make_panel(const std::string& to, int port) {
    fs::create_directories(to);
    for (const auto& entry : fs::directory_iterator(ZOR_PANEL_DIR)) {
        const std::string name = entry.path().filename().string();
        if (name == "libzor_panel.so")
            fs::copy_file(entry.path(), to + "/" + name, fs::copy_options::overwrite_existing);
        else if (name != "config.xml" && name != "options.xml" && !fs::exists(to + "/" + name))
            fs::create_symlink(fs::canonical(entry.path()), to + "/" + name);
    }
    name_server(to, port);
    // As the demo's first start: London is the home city.
    std::ofstream(to + "/options.xml")
        << "<?xml version=\"1.0\"?><Settings><p1.2>true</p1.2><p100001>true</p100001><p2.1>true</p2.1>"
           "<p2.2>true</p2.2><p4.2>true</p4.2></Settings><Weather><p100001>London</p100001></Weather>";
}

bool run_shell(const std::string& folder, const std::string& panel, const std::string& tour, int limit_s,
               const std::vector<std::string>& extra) {
    fs::create_directories(folder);
    std::ofstream(folder + "/tour.txt") << tour;
    std::vector<std::string> args = {
        ZOR_SHELL, "--panel",         panel,   "--headless",         "--tour", folder + "/tour.txt",
        "--shots", folder + "/shots", "--log", folder + "/panel.log"};
    args.insert(args.end(), extra.begin(), extra.end());
    pid_t pid = ::fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(ZOR_SHELL, argv.data());
        ::_exit(127);
    }
    int status = 0;
    for (int waited = 0; ::waitpid(pid, &status, WNOHANG) == 0; ++waited) {
        if (waited > limit_s * 10) {
            std::fprintf(stderr, "the shell did not finish in %d s; stopped\n", limit_s);
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return false;
        }
        ::usleep(100 * 1000);
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return true;
    std::fprintf(stderr, "the shell failed (status %d), see %s/panel.log\n", status, folder.c_str());
    return false;
}

void use_private_user_files(const std::string& folder) {
    for (const char* name : {"XDG_CACHE_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "ZOR_CONTACTS_DIR"})
        ::setenv(name, (folder + "/" + name).c_str(), 1);
    ::setenv("SDL_VIDEODRIVER", "dummy", 0);
    ::setenv("BROWSER", "true", 1);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
}

served_panel::served_panel() : server(ZOR_CONTENT_SERVER, {"--port", "0"}) {
    use_private_user_files(work.path());
    if (server.ready())
        make_panel(panel(), server.port());
}

bool served_panel::ready(const char* program) const {
    if (!server.ready())
        std::fprintf(stderr, "%s: the content server did not start\n", program);
    return server.ready();
}

std::vector<report_section> read_report_sections(const std::string& report) {
    std::vector<report_section> out;
    std::istringstream in(report);
    for (std::string line; std::getline(in, line);) {
        std::istringstream l(line);
        std::string word, k1, k2, k3, k4, k5, k6, k7;
        report_section s;
        if (l >> word && word == "section" &&
            l >> s.name >> k1 >> s.frames >> k2 >> s.gap_ms >> k3 >> s.page >> k4 >> s.entry_gap_ms >> k5 >>
                s.entry_page) {
            l >> k6 >> s.cpu_ms >> k7 >> s.wall_ms;
            out.push_back(s);
        }
    }
    return out;
}

long read_peak_rss_kb(const std::string& report) {
    static const std::regex peak(R"re((^|\n)peak_rss_kb ([0-9]+))re");
    std::smatch m;
    return std::regex_search(report, m, peak) ? std::stol(m[2]) : -1;
}

std::string pages_tour(const std::string& tour, int idle_ms, bool without_globe) {
    std::istringstream in(tour);
    std::ostringstream out;
    bool in_globe = false;
    for (std::string line; std::getline(in, line);) {
        if (line == "# globe begin")
            in_globe = true;
        else if (line == "# globe end")
            in_globe = false;
        if (in_globe && without_globe)
            continue;
        if (line.rfind("idle ", 0) == 0) {
            const std::string name = "idle-" + line.substr(5);
            out << "mark " << name << "\nwait " << idle_ms << "\nmark back\nshot " << name << "\n";
        } else {
            out << line << "\n";
        }
    }
    return out.str();
}
