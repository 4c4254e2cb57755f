#include "platform/user_folders.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

std::string home_folder() {
    const char* home = std::getenv("HOME");
    if (home && *home)
        return home;
    struct passwd entry {};
    struct passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    return std::string();
}

} // namespace

std::string user_base_folder(const char* xdg_variable, const char* below_home) {
    // The specification ignores relative paths.
    const char* xdg = std::getenv(xdg_variable);
    if (xdg && *xdg == '/')
        return xdg;
    const std::string home = home_folder();
    if (home.empty() || home[0] != '/')
        return std::string();
    return home + "/" + below_home;
}

} // namespace platform
