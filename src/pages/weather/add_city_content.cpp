#include "pages/weather/add_city_content.h"

#include "chrome/command_bar.h"
#include "platform/soft_input.h"
#include "platform/window_system.h"
#include "ui/edit_box.h"
#include "ui/i_control.h"
#include "ui/static_fonts.h"

#include <algorithm>

namespace zor {

const wchar_t* const add_city_content::prompt = L"Enter the name of the city";

add_city_content::add_city_content(cl::ui::edit_box* edit, const std::wstring& text,
                                   ui::command_bar* commands)
    : edit(edit), commands(commands) {
    // The field is the panel window's own and keeps what was typed on an earlier visit: a page opened
    // afresh starts empty, so that what the user types is not added to an old name.
    if (edit)
        edit->set_text(text);
    if (commands)
        commands->set_enter_triggers_left(true);
}

add_city_content::~add_city_content() {
    if (commands)
        commands->set_enter_triggers_left(false);
    // A message sent to the field here could wait for a GUI thread that is itself waiting for the frame loop
    // to end: the field is hidden at once and gives the focus (and the keys) back to the panel by a posted
    // message.
    // Only a keyboard still where this page put it goes back: the home screen moves it itself when the screen
    // turns, before the page made for the new orientation is laid out.
    platform::RECT keyboard;
    if (keyboard_placed && platform::soft_input_rect(keyboard) && keyboard == keyboard_placed_at)
        platform::set_soft_input_rect(keyboard_home);
    if (edit) {
        edit->set_visible(false);
        const platform::HWND field = edit->get_hwnd();
        platform::post_message(field, platform::WM_KILLFOCUS,
                               reinterpret_cast<platform::WPARAM>(platform::get_parent(field)), 0);
    }
}

content_state add_city_content::get_state() const {
    return content_state(page_name(), name(), text());
}

std::wstring add_city_content::text() const {
    return edit ? edit->get_text() : std::wstring();
}

int add_city_content::prompt_room() {
    return cl::ui::fonts::tahoma_24->height() * 5 / 3;
}

void add_city_content::layout() {
    // The field keeps the place the panel window gives it unless the prompt above it would not fit (in
    // landscape the window puts it near the top of the content); the prompt fills the space above it.
    if (edit) {
        const platform::RECT field = edit->get_rect();
        if (field.top < rect.top + prompt_room())
            edit->move_to(field.left, rect.top + prompt_room());
    }
    const int field_top = edit ? edit->get_rect().top : (rect.top + rect.bottom) / 2;
    const int bottom = field_top > rect.top ? field_top : rect.bottom;
    prompt_area = platform::RECT{rect.left, rect.top, rect.right, bottom};
    if (edit) {
        place_keyboard();
        edit->set_visible(true);
        edit->set_focus();
    }
    dirty = true;
}

void add_city_content::place_keyboard() {
    platform::RECT keyboard;
    if (!platform::soft_input_rect(keyboard))
        return;
    // A keyboard that is not where this page put it is where the home screen wants it by default.
    if (!keyboard_placed || keyboard != keyboard_placed_at) {
        keyboard_home = keyboard;
        keyboard_placed = true;
    }
    // Directly below the field, as wide as the home screen has it, and no lower than the content: the
    // command bar below stays in reach.
    const platform::HWND window = platform::get_parent(edit->get_hwnd());
    platform::POINT below{0, edit->get_rect().bottom}, content_bottom{0, rect.bottom};
    platform::client_to_screen(window, below);
    platform::client_to_screen(window, content_bottom);
    const int height =
        std::max(0, std::min(keyboard_home.bottom - keyboard_home.top, content_bottom.y - below.y));
    keyboard_placed_at = platform::RECT{keyboard_home.left, below.y, keyboard_home.right, below.y + height};
    platform::set_soft_input_rect(keyboard_placed_at);
}

void add_city_content::on_pen_down(const platform::POINT& p) {
    if (edit && !cl::ui::contains(edit->get_rect(), p))
        platform::show_soft_input(false);
}

void add_city_content::draw(cl::ui::i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    g.fill_rect(rect, ground);
    const int h = g.measure_text(prompt, cl::ui::fonts::tahoma_24, prompt_area.right - prompt_area.left).cy;
    const int top = (prompt_area.top + prompt_area.bottom - h) / 2;
    g.draw_text(prompt, platform::RECT{prompt_area.left, top, prompt_area.right, top + h},
                cl::ui::fonts::tahoma_24, 0x000000, cl::ui::align_center);
    if (edit)
        edit->draw(g, true);
    dirty = false;
}

} // namespace zor
