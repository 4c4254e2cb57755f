#include "ui/main_window.h"

#include "platform/window_system.h"
#include "ui/ui_error.h"
#include "utils/errors.h"

#include <string>

namespace cl {
namespace ui {

namespace {
main_window* current = nullptr;
platform::SHACTIVATEINFO activate_info;

// The library carries no string resources, so every lookup falls back to the default text.
std::wstring load_string(platform::HINSTANCE, int, const wchar_t* fallback) {
    return fallback;
}
} // namespace

main_window* current_window() {
    return current;
}

main_window::main_window(int class_name_id, platform::UINT class_style, int title_id, int icon_id)
    : class_name_id(class_name_id), class_style(class_style), title_id(title_id), icon_id(icon_id) {}

main_window::~main_window() {
    if (current == this)
        current = nullptr;
}

void main_window::init_instance(platform::HINSTANCE instance_, platform::HWND parent_) {
    using namespace platform;
    utils::trace_scope trace("cl::ui::main_window::init_instance");
    utils::check_pointer(instance_, "instance == NULL");
    instance = instance_;
    parent = parent_;
    current = this;
    title = load_string(instance, title_id, default_title);
    class_name = load_string(instance, class_name_id, default_class_name);

    if (HWND existing = find_window(class_name, title)) {
        hwnd = existing;
        set_foreground_window(reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(existing) | 1));
        return; // nothing is registered or created for an adopted window
    }

    window_class cls;
    cls.style = class_style;
    cls.proc = &main_window::window_proc;
    cls.instance = instance;
    cls.name = class_name;
    cls.background = 0xFFFFFF;
    if (!register_class(cls))
        utils::throw_error(ui_error("Can't register window class", get_last_error()));

    DWORD style = parent ? (WS_CHILD | WS_VISIBLE) : WS_VISIBLE;
    HWND created = create_window(0, class_name, title, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, parent, instance);
    if (!created)
        utils::throw_error(ui_error("Can't create window", get_last_error()));
    hwnd = created;

    edit.reset();
    edit.reset(new edit_box(hwnd));

    show_window(hwnd, SW_SHOWNORMAL);
    update_window(hwnd);
}

void main_window::done_instance() {
    using namespace platform;
    utils::trace_scope trace("cl::ui::main_window::done_instance");
    if (hwnd) {
        // The edit box is a child: it goes with the window.
        destroy_window(hwnd);
        hwnd = nullptr;
    }
    if (!unregister_class(class_name, instance))
        utils::log("UnregisterClass error, " + std::to_string(get_last_error()).substr(0, 10));
    current = nullptr;
}

platform::LRESULT main_window::window_proc(platform::HWND hwnd, platform::UINT msg, platform::WPARAM wparam,
                                           platform::LPARAM lparam) {
    main_window* self = current;
    if (!self || self->hwnd != hwnd)
        return 0;
    platform::LRESULT r = self->handle_message(msg, wparam, lparam);
    if (r != -1)
        return r;
    return self->default_processing(msg, wparam, lparam);
}

platform::LRESULT main_window::default_processing(platform::UINT msg, platform::WPARAM wparam,
                                                  platform::LPARAM lparam) {
    using namespace platform;
    switch (msg) {
    case WM_CREATE:
        activate_info = SHACTIVATEINFO{};
        activate_info.cbSize = sizeof(DWORD) * 3;
        return 0;
    case WM_DESTROY:
    case WM_CLOSE:
        post_quit_message(0);
        validate_window(hwnd);
        return 0;
    case WM_SIZE: {
        bool portrait =
            LOWORD(static_cast<std::uintptr_t>(lparam)) < HIWORD(static_cast<std::uintptr_t>(lparam));
        if (edit) {
            if (portrait)
                edit->move_to(20, 350);
            else
                edit->move_to(180, 120);
        }
        return 0;
    }
    case WM_ACTIVATE:
        sh_handle_wm_activate(hwnd, wparam, lparam, &activate_info, 0);
        return 0;
    case WM_PAINT:
        validate_window(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 0;
    case WM_SETTINGCHANGE:
        on_settings_changed(1);
        return 0;
    case WM_CTLCOLORSTATIC:
        // White text on a transparent background over a black brush.
        return static_cast<LRESULT>(black_brush);
    default:
        return def_window_proc(hwnd, msg, wparam, lparam);
    }
}

} // namespace ui
} // namespace cl
