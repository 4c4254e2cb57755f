#include "app/main_window.h"
#include "app/panel_abi.h"
#include "platform/module.h"
#include "utils/errors.h"

namespace {

platform::HINSTANCE module_instance = nullptr;
zor::app::main_window* panel_window = nullptr;

// Runs when the library is loaded, after its static initialisers.
__attribute__((constructor)) void on_process_attach() {
    module_instance = platform::module_of(reinterpret_cast<const void*>(&on_process_attach));
}

platform::HWND create_panel(const void*, platform::HWND parent) {
    // The host calls this once before each destroy; a second call hands back the same window.
    if (panel_window)
        return panel_window->get_hwnd();
    std::unique_ptr<zor::app::main_window> window(new zor::app::main_window);
    try {
        window->init_instance(module_instance, parent);
    } catch (const std::exception&) {
        return nullptr;
    }
    panel_window = window.release();
    return panel_window->get_hwnd();
}

int destroy_panel() {
    if (panel_window) {
        panel_window->done_instance();
        delete panel_window;
        panel_window = nullptr;
    }
    return 0;
}

std::int32_t not_implemented(...) {
    return zor::abi::e_notimpl;
}

int panel_version(platform::DWORD* out) {
    if (out)
        *out = zor::abi::version;
    return 0;
}

} // namespace

extern "C" __attribute__((visibility("default"))) void* zor_panel_ordinal(int ordinal) {
    switch (ordinal) {
    case 240:
        return reinterpret_cast<void*>(&create_panel);
    case 242:
        return reinterpret_cast<void*>(&destroy_panel);
    case 243:
        return reinterpret_cast<void*>(&not_implemented);
    case 244:
        return reinterpret_cast<void*>(&panel_version);
    default:
        // 241 is exported without a function.
        return nullptr;
    }
}
