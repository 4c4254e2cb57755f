#include "platform/shell_open.h"

#include "platform/debug_log.h"
#include "platform/text.h"

#include <cwctype>
#include <fcntl.h>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace platform {

namespace {
std::mutex hook_mutex;
launcher hook;

bool spawn(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    // The handler's own complaints (no browser, no display) would land in the host's terminal: the log says
    // what matters instead.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int started = posix_spawnp(&pid, args[0], &quiet, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (started != 0) {
        debug_log_write("No web browser: " + argv[0] + " cannot be started");
        return false;
    }
    // The handler may run for a long time (a browser); nobody waits for it but the zombie is reaped.
    const std::string link = argv.back();
    std::thread([pid, link] {
        int status = 0;
        if (waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) != 0)
            debug_log_write("No web browser opened " + link + ": xdg-open ended with status " +
                            std::to_string(WEXITSTATUS(status)) +
                            (WEXITSTATUS(status) == 3 ? " (no handler for web links)" : ""));
    }).detach();
    return true;
}

bool allowed(const std::wstring& url) {
    auto starts = [&](const wchar_t* scheme) {
        const std::wstring s(scheme);
        if (url.size() <= s.size())
            return false;
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (static_cast<wchar_t>(std::towlower(static_cast<wint_t>(url[i]))) != s[i])
                return false;
        }
        return true;
    };
    if (!starts(L"http://") && !starts(L"https://"))
        return false;
    for (wchar_t c : url) {
        if (c < 0x20 || c == 0x7F)
            return false;
    }
    return true;
}
} // namespace

void set_shell_launcher(launcher h) {
    std::lock_guard<std::mutex> lock(hook_mutex);
    hook = std::move(h);
}

bool shell_open(const std::wstring& url) {
    if (!allowed(url))
        return false;
    const std::vector<std::string> argv{"xdg-open", to_utf8(url)};
    launcher h;
    {
        std::lock_guard<std::mutex> lock(hook_mutex);
        h = hook;
    }
    return h ? h(argv) : spawn(argv);
}

} // namespace platform
