// Every test process starts with an empty cache folder of its own, which the panels and shells it starts
// inherit: held copies of one run's servers must never stand in for another's, whose server may have been
// given the same port. Removed when the process ends.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

struct fresh_cache {
    std::string folder;
    pid_t owner = ::getpid();

    fresh_cache() {
        char name[] = "/tmp/zor-test-cache-XXXXXX";
        if (::mkdtemp(name)) {
            folder = name;
            ::setenv("XDG_CACHE_HOME", name, 1);
        }
    }
    // A forked child that exits leaves the folder to its parent.
    ~fresh_cache() {
        std::error_code ignored;
        if (!folder.empty() && ::getpid() == owner)
            std::filesystem::remove_all(folder, ignored);
    }
};

const fresh_cache cache;

} // namespace
