#include "host.h"

#include "platform/clock.h"
#include "platform/panel_activity.h"
#include "platform/window_system.h"
#include "sip_keyboard.h"
#include "top_bar.h"

#include <ctime>
#include <dlfcn.h>

namespace shell {

namespace {
host* the_host = nullptr;
const wchar_t* const host_class = L"ZOR_HOME_SCREEN";
const wchar_t* const sip_button_class = L"MS_SIPBUTTON";
const wchar_t* const sip_keyboard_class = L"SipWndClass";
constexpr int sip_keyboard_height = 200;

std::tm local_now() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

platform::LRESULT sip_proc(platform::HWND hwnd, platform::UINT msg, platform::WPARAM w, platform::LPARAM l) {
    const bool keyboard = platform::get_class_name(hwnd) == sip_keyboard_class;
    if (msg == platform::WM_PAINT) {
        if (auto s = platform::get_window_surface(hwnd)) {
            if (keyboard)
                sip_keyboard::paint(*s);
            else
                paint_sip_button(*s);
        }
    } else if (msg == platform::WM_LBUTTONUP && keyboard) {
        // A key types into the field that has the focus, as a key press on a real keyboard would.
        platform::RECT r = platform::get_client_rect(hwnd);
        const char key = sip_keyboard::key_at(static_cast<std::int16_t>(platform::LOWORD(l)),
                                              static_cast<std::int16_t>(platform::HIWORD(l)),
                                              r.right - r.left, r.bottom - r.top);
        platform::HWND field = platform::get_focus();
        if (key == sip_keyboard::hide_key)
            platform::show_window(hwnd, platform::SW_HIDE);
        else if (key == sip_keyboard::enter_key && field)
            platform::post_message(field, platform::WM_KEYDOWN, platform::VK_RETURN, 0);
        else if (key && field)
            platform::post_message(field, platform::WM_CHAR,
                                   sip_keyboard::typed(key, platform::get_window_title(field)), 0);
        return 0;
    }
    return platform::def_window_proc(hwnd, msg, w, l);
}
} // namespace

host::host(bool landscape) : is_landscape(landscape) {
    using namespace platform;
    the_host = this;
    int w = landscape ? long_side : short_side, h = landscape ? short_side : long_side;
    set_screen_size(w, h);
    set_work_area(RECT{0, top_bar, w, h});

    window_class cls;
    cls.proc = &host::proc;
    cls.name = host_class;
    register_class(cls);
    window_class sip;
    sip.proc = sip_proc;
    sip.name = sip_button_class;
    register_class(sip);
    sip.name = sip_keyboard_class;
    register_class(sip);

    hwnd = create_window(0, host_class, L"ZOR Home", WS_VISIBLE, 0, 0, w, h, nullptr, nullptr);
    sip_button = create_window(0, sip_button_class, L"", WS_VISIBLE, 0, 0, 36, 28, nullptr, nullptr);
    sip_keyboard =
        create_window(0, sip_keyboard_class, L"", 0, 0, 0, w, sip_keyboard_height, nullptr, nullptr);
    apply_screen();
    set_focus(hwnd);
}

host::~host() {
    stop();
    using namespace platform;
    for (HWND h : {sip_keyboard, sip_button, hwnd})
        if (h)
            destroy_window(h);
    unregister_class(host_class, nullptr);
    unregister_class(sip_button_class, nullptr);
    unregister_class(sip_keyboard_class, nullptr);
    the_host = nullptr;
}

void host::apply_screen() {
    using namespace platform;
    int w = get_system_metrics(SM_CXSCREEN), h = get_system_metrics(SM_CYSCREEN);
    move_window(hwnd, 0, 0, w, h, true);
    move_window(sip_button, w - 112, 12, 36, 28, true);
    move_window(sip_keyboard, 0, h - sip_keyboard_height, w, sip_keyboard_height, true);
    shown_minute = -1;
}

bool host::load_panel(const std::string& folder, std::string& error) {
    std::string path = folder + "/libzor_panel.so";
    library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        error = "cannot load " + path + ": " + (why ? why : "unknown error");
        return false;
    }
    auto lookup = reinterpret_cast<zor::abi::ordinal_lookup>(dlsym(library, zor::abi::ordinal_lookup_symbol));
    auto create = lookup ? reinterpret_cast<zor::abi::create_panel>(lookup(240)) : nullptr;
    destroy = lookup ? reinterpret_cast<zor::abi::destroy_panel>(lookup(242)) : nullptr;
    if (!create || !destroy) {
        error = path + " does not export the panel entries";
        return false;
    }
    panel_hwnd = create(nullptr, hwnd);
    if (!panel_hwnd) {
        error = "the panel did not create its window";
        return false;
    }
    return true;
}

void host::start() {
    is_paused = false;
    if (panel_hwnd)
        platform::send_message(panel_hwnd, 6026, 0, 0);
}

void host::pause() {
    is_paused = true;
    if (panel_hwnd)
        platform::send_message(panel_hwnd, 6027, 0, 0);
}

void host::resume() {
    start();
}

void host::rotate() {
    is_landscape = !is_landscape;
    int w = is_landscape ? long_side : short_side, h = is_landscape ? short_side : long_side;
    platform::set_screen_size(w, h);
    platform::set_work_area(platform::RECT{0, top_bar, w, h});
    apply_screen();
    if (panel_hwnd)
        platform::send_message(panel_hwnd, platform::WM_SETTINGCHANGE, 0, 0);
}

void host::stop() {
    if (panel_hwnd) {
        platform::send_message(panel_hwnd, 6025, 0, 0);
        panel_hwnd = nullptr;
    }
    if (destroy) {
        destroy();
        destroy = nullptr;
    }
    if (library) {
        dlclose(library);
        library = nullptr;
    }
}

bool host::pump() {
    platform::MSG msg;
    while (!quit && platform::peek_message(msg, true)) {
        if (msg.message == platform::WM_QUIT) {
            quit = true;
            break;
        }
        platform::dispatch_message(msg);
    }
    return !quit && platform::is_window(hwnd);
}

bool host::run_for(std::uint32_t ms) {
    std::uint32_t start = platform::tick_count();
    for (;;) {
        tick_clock();
        if (!pump())
            return false;
        std::uint32_t elapsed = platform::tick_count() - start;
        if (elapsed >= ms)
            return true;
        platform::wait_message(std::min<std::uint32_t>(ms - elapsed, 50));
    }
}

host::settle_result host::settle(platform::HWND drawn, std::uint32_t ms) {
    auto surface = drawn ? platform::get_window_surface(drawn) : nullptr;
    const std::uint32_t start = platform::tick_count();
    std::uint64_t quiet_from = platform::frames_drawn();
    std::uint64_t seen = surface ? surface->content_changes() : 0;
    for (;;) {
        tick_clock();
        if (!pump())
            return settle_result::closed;
        // Frames first: a counted frame has already touched the surface, so its change is seen below; a
        // change seen may also come from the frame still being drawn, which is not counted yet.
        const std::uint64_t frames = platform::frames_drawn();
        const std::uint64_t changes = surface ? surface->content_changes() : 0;
        // A paused panel's surface is not looked at: only the loads are waited for.
        if ((!is_paused && changes != seen) || platform::pending_loads() > 0) {
            seen = changes;
            quiet_from = frames + 1;
        } else if (is_paused || !surface || frames >= quiet_from + settle_frames) {
            return settle_result::settled;
        }
        const std::uint32_t elapsed = platform::tick_count() - start;
        if (elapsed >= ms)
            return settle_result::timed_out;
        platform::wait_message(std::min<std::uint32_t>(ms - elapsed, 5));
    }
}

void host::tick_clock() {
    std::tm now = local_now();
    if (now.tm_min != shown_minute)
        platform::invalidate_window(hwnd);
}

void host::paint() {
    std::tm now = local_now();
    shown_minute = now.tm_min;
    if (auto surface = platform::get_window_surface(hwnd))
        paint_top_bar(*surface, now);
}

platform::LRESULT host::proc(platform::HWND hwnd, platform::UINT msg, platform::WPARAM w,
                             platform::LPARAM l) {
    if (the_host && hwnd == the_host->hwnd) {
        if (msg == platform::WM_PAINT)
            the_host->paint();
        if (msg == platform::WM_DESTROY)
            the_host->quit = true;
    }
    return platform::def_window_proc(hwnd, msg, w, l);
}

} // namespace shell
