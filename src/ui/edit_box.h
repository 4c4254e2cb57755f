#pragma once

#include "platform/text_renderer.h"
#include "platform/types.h"
#include "ui/control_base.h"

#include <string>

namespace cl {
namespace ui {

// The native single-line text field, a hidden child of the panel window until a page shows it. Its
// replacement procedure hands Enter and the soft keys to the parent and swallows the other keys.
class edit_box : public control_base {
public:
    static constexpr int width = 440;
    static constexpr int height = 60;
    static constexpr int font_height = 50;

    explicit edit_box(platform::HWND parent);
    ~edit_box() override;
    edit_box(const edit_box&) = delete;
    edit_box& operator=(const edit_box&) = delete;

    void set_text(const std::wstring& text);
    // At most 200 characters.
    std::wstring get_text() const;
    void set_focus();
    void kill_focus();
    void move_to(int x, int y);

    // Moves the window.
    void set_rect(const platform::RECT& r) override;
    // The window's own visibility.
    bool is_visible() const override;
    void set_visible(bool shown) override;
    void update(unsigned long) override {}
    void layout() override {}
    // The field paints itself; this only flushes a pending paint.
    void draw(i_graphics& g, bool force) override;
    void draw();

    platform::HWND get_hwnd() const { return hwnd; }

private:
    static platform::LRESULT replacement_proc(platform::HWND, platform::UINT, platform::WPARAM,
                                              platform::LPARAM);

    platform::HWND hwnd;
    platform::HWND parent;
    platform::font_spec font;
};

} // namespace ui
} // namespace cl
