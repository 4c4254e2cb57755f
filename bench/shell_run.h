#pragma once

// Running the shell over a copy of the installed panel, for the benchmarks that time a whole panel.
#include "support/server_process.h"
#include "support/temp_folder.h"

#include <string>
#include <vector>

// Points the copy's configuration at a content server on loopback.
void name_server(const std::string& panel, int port);
// A copy of the install folder: the library itself is copied, as the panel looks for its files beside its
// real path; the rest is linked. options.xml is the copy's own, as the demo's first start writes it.
void make_panel(const std::string& to, int port);
// Runs the shell headless through the tour, its log in folder/panel.log and its screenshots in
// folder/shots, with `extra` arguments; stops it after limit_s seconds. False when it did not finish well.
bool run_shell(const std::string& folder, const std::string& panel, const std::string& tour, int limit_s,
               const std::vector<std::string>& extra = {});
// The whole file; empty when it cannot be read.
std::string read_text(const std::string& path);

// Points the user's cache, configuration, data and contacts into the folder, so that a run starts from no
// user files of its own, and keeps tapped links from opening a browser.
void use_private_user_files(const std::string& folder);

// A private copy of the panel, with user folders of its own, beside the content server on loopback.
struct served_panel {
    served_panel();
    // False, said on stderr under the program's name, when the server did not start.
    bool ready(const char* program) const;
    std::string panel() const { return work.file("panel"); }

    temp_folder work;
    server_process server;
};

// One section of a frame report (the README describes the lines).
struct report_section {
    std::string name;
    long frames = 0, gap_ms = 0, entry_gap_ms = 0, cpu_ms = 0, wall_ms = 0;
    std::string page, entry_page;
};
std::vector<report_section> read_report_sections(const std::string& report);
// The report's peak_rss_kb; -1 when it has none.
long read_peak_rss_kb(const std::string& report);

// bench/pages.tour made ready to run: each "idle NAME" becomes a section "idle-NAME" of idle_ms in which
// nothing happens, closed by a screenshot of the page; without_globe drops the globe and its maps.
std::string pages_tour(const std::string& tour, int idle_ms, bool without_globe);
