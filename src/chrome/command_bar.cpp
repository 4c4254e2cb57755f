#include "chrome/command_bar.h"

#include "ui/static_fonts.h"

namespace zor {
namespace ui {

namespace {
const platform::COLORREF bar_colour = 0x303030;
const int text_inset = 12;
} // namespace

command_bar::command_bar()
    : left_button(L"", 0xFFFFFF, cl::ui::fonts::tahoma_24, cl::ui::align_left),
      right_button(L"", 0xFFFFFF, cl::ui::fonts::tahoma_24, cl::ui::align_right) {}

void command_bar::set_left_label(const std::wstring& text) {
    left_button.set_text(text);
    dirty = true;
}

void command_bar::set_right_label(const std::wstring& text) {
    right_button.set_text(text);
    dirty = true;
}

void command_bar::set_rect(const platform::RECT& r) {
    rect = platform::RECT{r.left, r.bottom - bar_height, r.right, r.bottom};
}

void command_bar::layout() {
    const int middle = (rect.left + rect.right) / 2;
    left_rect = platform::RECT{rect.left, rect.top, middle, rect.bottom};
    right_rect = platform::RECT{middle, rect.top, rect.right, rect.bottom};
    // Labels are one line, centred vertically in the bar.
    const int text_top = rect.top + (bar_height - cl::ui::fonts::tahoma_24->height()) / 2;
    left_button.set_rect(platform::RECT{left_rect.left + text_inset, text_top, left_rect.right, rect.bottom});
    right_button.set_rect(
        platform::RECT{right_rect.left, text_top, right_rect.right - text_inset, rect.bottom});
    dirty = true;
}

void command_bar::trigger_left() {
    const std::wstring label = left_button.get_text();
    if (!label.empty())
        left_clicked(label);
}

void command_bar::trigger_right() {
    const std::wstring label = right_button.get_text();
    if (!label.empty())
        right_clicked(label);
}

// The soft keys arrive as key-down events sent when they are released.
void command_bar::on_key_down(int key) {
    if (key == soft_key_left || (key == platform::VK_RETURN && enter_triggers_left))
        trigger_left();
    else if (key == soft_key_right)
        trigger_right();
}

void command_bar::on_pen_down(const platform::POINT& p) {
    if (cl::ui::contains(left_rect, p))
        trigger_left();
    else if (cl::ui::contains(right_rect, p))
        trigger_right();
}

void command_bar::draw(cl::ui::i_graphics& g, bool force) {
    if (!begin_draw(force))
        return;
    g.fill_rect(rect, bar_colour);
    left_button.draw(g, true);
    right_button.draw(g, true);
    g.invalidate(rect);
}

} // namespace ui
} // namespace zor
