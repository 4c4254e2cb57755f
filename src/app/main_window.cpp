#include "app/main_window.h"

#include "app/zor_game_loop.h"
#include "platform/module.h"
#include "platform/text.h"
#include "platform/window_system.h"
#include "ui/resources.h"
#include "utils/errors.h"

namespace zor {
namespace app {

namespace {
main_window* last_started = nullptr;

void show_sip_button(int cmd) {
    platform::show_window(platform::find_window(L"MS_SIPBUTTON", nullptr), cmd);
}
} // namespace

main_window* app_window() {
    return last_started;
}

main_window::main_window()
    : main_window(
          [](main_window& w) { return boost::shared_ptr<cl::app::game_loop>(new zor_game_loop(w)); }) {}

main_window::main_window(loop_factory make_loop)
    : cl::ui::main_window(101, platform::CS_VREDRAW | platform::CS_HREDRAW, 102, 101),
      loop(new cl::app::loop_thread), make_loop(std::move(make_loop)) {
    show_sip_button(platform::SW_HIDE);
}

main_window::~main_window() {
    // A loop still running would outlive the objects it uses.
    stop_app();
    show_sip_button(platform::SW_SHOWNORMAL);
    loop.reset();
    if (last_started == this)
        last_started = nullptr;
}

platform::RECT main_window::get_client_rect() {
    if (hosted()) {
        platform::RECT r = platform::get_work_area();
        r.top -= top_bar_height;
        r.bottom -= top_bar_height;
        return r;
    }
    platform::RECT w = get_window_rect();
    return platform::RECT{w.left, 0, w.right, w.bottom - w.top};
}

void main_window::on_settings_changed(int) {
    if (hosted())
        fit_into_host();
    post_event(cl::app::event::resize, 0, 0, 0);
}

void main_window::fit_into_host() {
    using namespace platform;
    POINT first{0, top_bar_height};
    POINT second{get_system_metrics(SM_CXSCREEN), get_system_metrics(SM_CYSCREEN)};
    if (parent) {
        screen_to_client(parent, first);
        screen_to_client(parent, second);
    }
    // The second point is given as the size, as the host expects.
    move_window(hwnd, first.x, first.y, second.x, second.y, true);
    update_window(hwnd);
}

platform::LRESULT main_window::handle_message(platform::UINT msg, platform::WPARAM wparam,
                                              platform::LPARAM lparam) {
    using namespace platform;
    using cl::app::event;
    const int x = LOWORD(static_cast<std::uintptr_t>(lparam));
    const int y = HIWORD(static_cast<std::uintptr_t>(lparam));
    switch (msg) {
    case WM_KEYDOWN:
        // The soft keys count once, when released (below); a press as well would trigger twice.
        if (wparam == VK_APP2 || wparam == VK_APP3)
            return 0;
        post_event(event::key_down, static_cast<int>(wparam), 0, 0);
        return 0;
    case WM_KEYUP:
        // The two soft keys are delivered on release.
        if (wparam == VK_APP2 || wparam == VK_APP3) {
            post_event(event::key_down, static_cast<int>(wparam), 0, 0);
            return 0;
        }
        return -1;
    case WM_LBUTTONDOWN:
        post_event(event::pen_down, 0, x, y);
        return 0;
    case WM_LBUTTONUP:
        post_event(event::pen_up, 0, x, y);
        return 0;
    case WM_MOUSEMOVE:
        post_event(event::pen_move, 0, x, y);
        return 0;
    case WM_PAINT:
        post_event(event::paint, 0, 0, 0);
        return -1;
    case WM_ERASEBKGND:
        post_event(event::erase, 0, 0, 0);
        return -1;
    case WM_DESTROY:
    case WM_CLOSE:
        stop_app();
        return 0;
    case WM_SIZE:
        if (wparam == SIZE_MINIMIZED)
            return hosted() ? -1 : 0;
        // The back buffer follows the window whatever moved it.
        post_event(event::resize, 0, 0, 0);
        return -1;
    case WM_SETFOCUS:
        if (hosted())
            fit_into_host();
        return -1;
    case WM_CANCELMODE:
        return hosted() ? -1 : 0;
    case 32:
        if (!hosted())
            resume_app();
        return 1;
    case msg_stop:
        stop_app();
        return -1;
    case msg_start:
        start_app();
        platform::set_focus(hwnd);
        return -1;
    case msg_pause:
        pause_app();
        return -1;
    default:
        return -1;
    }
}

void main_window::start_app() {
    utils::trace_scope trace("zor::app::main_window::start_app");
    if (!started) {
        cl::ui::resources::load(platform::from_utf8(platform::module_folder(instance)));
        loop->start(make_loop(*this));
        started = true;
        paused = false;
    } else {
        resume_app();
    }
    last_started = this;
}

void main_window::pause_app() {
    if (started && !paused && loop->is_running()) {
        utils::trace_scope trace("zor::app::main_window::pause_app");
        loop->post(cl::app::event(cl::app::event::pause, 0, 0, 0));
        paused = true;
    }
}

void main_window::resume_app() {
    utils::trace_scope trace("zor::app::main_window::resume_app");
    show_sip_button(platform::SW_HIDE);
    if (started && paused && loop->is_running()) {
        loop->post(cl::app::event(cl::app::event::resume, 0, 0, 0));
        paused = false;
    }
}

void main_window::stop_app() {
    utils::trace_scope trace("zor::app::main_window::stop_app");
    if (!started)
        return;
    if (loop->is_running()) {
        loop->post(cl::app::event(cl::app::event::exit, 0, 0, 0));
        loop->join();
    }
    started = false;
}

void main_window::post_event(int type, int key, int x, int y) {
    if (loop && loop->is_running())
        loop->post(cl::app::event(type, key, x, y));
}

} // namespace app
} // namespace zor
