#pragma once

#include "ui/control_base.h"
#include "ui/text_block.h"
#include "utils/signal.h"

#include <string>

namespace zor {
namespace ui {

// The two soft-key commands at the bottom of the page. An empty label means no command on that side.
class command_bar : public cl::ui::control_base {
public:
    static constexpr int bar_height = 40;
    static constexpr int soft_key_left = 0xC2;
    static constexpr int soft_key_right = 0xC3;

    command_bar();

    utils::signal<utils::function1<void, std::wstring>> left_clicked;
    utils::signal<utils::function1<void, std::wstring>> right_clicked;

    void set_left_label(const std::wstring& text);
    void set_right_label(const std::wstring& text);
    const std::wstring& left_label() const { return left_button.get_text(); }
    const std::wstring& right_label() const { return right_button.get_text(); }
    // Enter then triggers the left command too (pages with a text field).
    void set_enter_triggers_left(bool on) { enter_triggers_left = on; }

    // Takes the bottom of the given rectangle.
    void set_rect(const platform::RECT& r) override;
    void update(unsigned long) override {}
    void layout() override;
    void draw(cl::ui::i_graphics& g, bool force) override;
    void on_key_down(int key) override;
    void on_pen_down(const platform::POINT& p) override;

private:
    void trigger_left();
    void trigger_right();

    platform::RECT left_rect;
    platform::RECT right_rect;
    cl::ui::text_block left_button;
    cl::ui::text_block right_button;
    bool enter_triggers_left = false;
};

} // namespace ui
} // namespace zor
