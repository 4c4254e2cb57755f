#pragma once

#include "frame_report.h"
#include "host.h"

#include <istream>
#include <string>

namespace shell {

// Follows a tour script, one command a line (blank lines and lines starting with # are skipped):
// wait MS, settle MS, tap X Y, down X Y, move X Y, up X Y, drag X1 Y1 X2 Y2 MS, key NAME, text STRING,
// rotate, pause, resume, shot NAME, mark NAME, quit. Coordinates are the screen's. A settle that runs out of
// time goes on and says so in the debug log. A mark starts a section of the frame report, when there is one.
// Returns false, with the line and the reason in error, at the first command that fails.
bool run_tour(host& h, std::istream& script, const std::string& shots_folder, std::string& error,
              frame_report* report = nullptr);

// The virtual key of a key name (left, right, up, down, enter, soft1, soft2, or a number); -1 if none.
int key_from_name(const std::string& name);

} // namespace shell
