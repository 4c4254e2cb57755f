#pragma once

#include "platform/shell_activation.h"
#include "ui/base_window.h"
#include "ui/edit_box.h"

#include <memory>
#include <string>

namespace cl {
namespace ui {

// The framework's top window: registers its class, creates (or adopts) the window, owns the text-entry
// child, and routes messages to handle_message with a default processing for what it leaves (-1).
class main_window : public base_window {
public:
    static constexpr const wchar_t* default_title = L"Quelvo application main window";
    static constexpr const wchar_t* default_class_name = L"QUELVO_APP_WND_CLASS";

    main_window(int class_name_id, platform::UINT class_style, int title_id, int icon_id);
    ~main_window() override;

    // Throws std::logic_error for a null instance, cl::ui::ui_error when the class or window cannot be made.
    void init_instance(platform::HINSTANCE instance, platform::HWND parent);
    void done_instance();

    virtual void on_settings_changed(int) {}
    // -1: not handled, do the default processing.
    virtual platform::LRESULT handle_message(platform::UINT msg, platform::WPARAM wparam,
                                             platform::LPARAM lparam) = 0;

    static platform::LRESULT window_proc(platform::HWND hwnd, platform::UINT msg, platform::WPARAM wparam,
                                         platform::LPARAM lparam);

    platform::HINSTANCE get_instance() const { return instance; }
    edit_box* get_edit() const { return edit.get(); }

protected:
    platform::HINSTANCE instance = nullptr;
    platform::HWND parent = nullptr;
    std::unique_ptr<edit_box> edit;
    int class_name_id;
    platform::UINT class_style;
    int title_id;
    int icon_id;
    std::wstring title;
    std::wstring class_name;

private:
    platform::LRESULT default_processing(platform::UINT msg, platform::WPARAM wparam,
                                         platform::LPARAM lparam);
};

// The object whose window the static procedure serves; set by init_instance, cleared by done_instance.
main_window* current_window();

} // namespace ui
} // namespace cl
