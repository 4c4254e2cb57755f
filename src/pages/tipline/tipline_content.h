#pragma once

#include "content/i_page_content.h"
#include "platform/contacts.h"
#include "ui/picture.h"
#include "ui/round_control.h"
#include "ui/text_block.h"
#include "utils/trackable.h"

#include <boost/noncopyable.hpp>

#include <memory>
#include <string>

namespace zor {

namespace ui {
class command_bar;
}

// The citizen report: asks the user to send photos and videos of news events to the desk, and offers "Add",
// which puts the desk in the phone book so that messages can be addressed to it. Once the desk's contact is
// there, the text says so and the command goes.
class tipline_content : public i_page_content, public utils::trackable, private boost::noncopyable {
public:
    static const wchar_t* const intro_caption;
    static const wchar_t* const missing_caption;
    static const wchar_t* const added_caption;
    static const wchar_t* const hint_caption;
    static const wchar_t* const add_command;
    // The desk's contact: its first name and the address reports go to.
    static const wchar_t* const desk_name;
    static const wchar_t* const desk_address;
    static constexpr int margin = 15;

    // The command bar may be null (no commands). The phone book lives in contacts_folder.
    explicit tipline_content(ui::command_bar* commands,
                             const std::string& contacts_folder = platform::contacts::default_folder());

    bool is_loaded() const override { return true; }
    bool is_failed() const override { return false; }
    std::wstring page_name() const override { return L"tipline"; }
    std::wstring title() const override { return L"Tip-Line"; }
    std::wstring name() const override { return L"Tip-Line"; }
    platform::COLORREF color() const override { return 0x0080FF; }
    // Looks the desk's contact up again: it may have been removed or added outside the panel.
    void activate() override;
    void deactivate() override;

    void set_rect(const platform::RECT& r) override;
    void update(unsigned long) override {}
    void layout() override;
    void draw(cl::ui::i_graphics& g, bool force) override;

    // Saves the desk's contact unless it is there; a failed save keeps "Add" for another try.
    void add_contact();

    bool has_contact() const { return contact_exists; }
    // Null until the first layout.
    const cl::ui::text_block* intro() const { return intro_text.get(); }
    const cl::ui::text_block* status() const { return status_text.get(); }
    const cl::ui::text_block* hint() const { return hint_text.get(); }
    platform::RECT picture_rect() const { return picture->get_rect(); }

private:
    void on_command(std::wstring label);
    void show_status();
    void place();

    platform::contacts contacts;
    bool contact_exists = false;
    bool built = false;
    std::shared_ptr<cl::ui::picture> picture;
    std::unique_ptr<cl::ui::text_block> intro_text;
    std::unique_ptr<cl::ui::text_block> status_text;
    std::unique_ptr<cl::ui::text_block> hint_text;
    ui::command_bar* command_bar;
    // The bar's "Add" is this page's only while it is the current content.
    bool active = false;
    cl::ui::round_control card;
};

} // namespace zor
