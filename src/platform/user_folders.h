#pragma once

#include <string>

namespace platform {

// A base folder of the user's files as the XDG base directory specification gives it: the variable's value
// when it is an absolute path, else the home folder (from $HOME, else the password database) joined with
// `below_home` (".cache", ".config", ".local/share"); empty when neither can be known.
std::string user_base_folder(const char* xdg_variable, const char* below_home);

} // namespace platform
