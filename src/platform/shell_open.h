#pragma once

#include <functional>
#include <string>
#include <vector>

// Opens a web link with the desktop's handler, as the device's shell "open" verb does.
namespace platform {

// Only http and https links without control characters are opened; xdg-open is started without a shell
// and reaped in the background. False when the link is refused or the program cannot be started.
bool shell_open(const std::wstring& url);

// Tests see the command line instead of a program being started; an empty hook restores the real one.
using launcher = std::function<bool(const std::vector<std::string>& argv)>;
void set_shell_launcher(launcher hook);

} // namespace platform
