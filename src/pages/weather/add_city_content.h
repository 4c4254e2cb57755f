#pragma once

#include "content/i_page_content.h"

#include <string>

namespace cl {
namespace ui {
class edit_box;
}
} // namespace cl

namespace zor {

namespace ui {
class command_bar;
}

// The page where the user types a city's name into the panel window's text field, shown under the
// prompt; the page's "Search" command then opens the results for the typed text.
class add_city_content : public i_page_content {
public:
    static const wchar_t* const prompt;
    static constexpr platform::COLORREF ground = 0xC8C8C8;

    // edit may be null (no text field: nothing to type into). A non-empty text (coming back through the
    // history) is put into the field, selected. While the page is open, Enter in the field gives the left
    // command ("Search").
    add_city_content(cl::ui::edit_box* edit, const std::wstring& text, ui::command_bar* commands);
    ~add_city_content() override;

    bool is_loaded() const override { return true; }
    bool is_failed() const override { return false; }
    std::wstring page_name() const override { return L"weather_item"; }
    std::wstring title() const override { return L"Add city"; }
    std::wstring name() const override { return L"add_city"; }
    platform::COLORREF color() const override { return 0xDCC328; }
    // Carries the typed text, so going back restores it.
    content_state get_state() const override;

    void update(unsigned long) override {}
    // Places the home screen's keyboard directly below the field, clear of the command bar; moves the field
    // down when the prompt has no room above it.
    void layout() override;
    void draw(cl::ui::i_graphics& g, bool force) override;
    // A tap beside the field puts the keyboard away; a tap on the field brings it back.
    void on_pen_down(const platform::POINT& p) override;

    std::wstring text() const;
    platform::RECT prompt_rect() const { return prompt_area; }
    // The height kept above the field for the prompt.
    static int prompt_room();

private:
    void place_keyboard();

    cl::ui::edit_box* edit;
    ui::command_bar* commands;
    platform::RECT prompt_area{};
    // Where the keyboard was before the page placed it, given back when the page closes.
    platform::RECT keyboard_home{};
    platform::RECT keyboard_placed_at{};
    bool keyboard_placed = false;
};

} // namespace zor
