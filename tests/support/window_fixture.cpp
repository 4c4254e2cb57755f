#include "support/window_fixture.h"

#include "platform/window_system.h"

#include <thread>

void window_fixture::SetUp() {
    platform::reset_window_system();
}

void window_fixture::TearDown() {
    platform::reset_window_system();
}

void window_fixture::pump() {
    platform::MSG msg;
    while (platform::peek_message(msg, true)) {
        if (msg.message != platform::WM_QUIT)
            platform::dispatch_message(msg);
    }
}

bool register_window_class(const wchar_t* name, platform::WNDPROC proc) {
    platform::window_class cls;
    cls.proc = proc ? proc : platform::def_window_proc;
    cls.name = name;
    return platform::register_class(cls);
}

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition())
            return true;
        window_fixture::pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return condition();
}
