#pragma once

// Running the shell over a copy of the installed panel, for the benchmarks that time a whole panel.
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
