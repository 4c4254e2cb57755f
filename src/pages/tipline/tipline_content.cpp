#include "pages/tipline/tipline_content.h"

#include "chrome/command_bar.h"
#include "ui/graphics.h"
#include "ui/static_fonts.h"
#include "utils/errors.h"
#include "utils/log.h"

#include <algorithm>

namespace zor {

const wchar_t* const tipline_content::intro_caption =
    L"Did you witness a new event? Send your videos and photos directly to ZOR via your mobile.";
const wchar_t* const tipline_content::missing_caption =
    L"Add Tip-Line to your phone Book to easily send emails and multimedia messages direct to ZOR.";
const wchar_t* const tipline_content::added_caption =
    L"Tip-Line was added to your phone Book. Please use it to "
    L"easily send emails and multimedia messages direct to ZOR.";
const wchar_t* const tipline_content::hint_caption =
    L"Be sure to include your name, location and information about the photos and videos send in.";
const wchar_t* const tipline_content::add_command = L"Add";
const wchar_t* const tipline_content::desk_name = L"ZOR";
const wchar_t* const tipline_content::desk_address = L"tipline@zor.example";

namespace {
const platform::COLORREF text_colour = 0x000000;
const platform::COLORREF card_colour = 0xFFFFFF;

std::unique_ptr<cl::ui::text_block> page_text(const std::wstring& text) {
    return std::make_unique<cl::ui::text_block>(text, text_colour, cl::ui::fonts::tahoma_22,
                                                cl::ui::align_left);
}
} // namespace

tipline_content::tipline_content(ui::command_bar* commands, const std::string& contacts_folder)
    : contacts(contacts_folder),
      picture(std::make_shared<cl::ui::picture>(cl::ui::load_resource_image(L"tipline"), true,
                                                cl::ui::picture::top_left)),
      command_bar(commands) {
    if (command_bar)
        command_bar->left_clicked.connect(
            utils::function1<void, std::wstring>(this, &tipline_content::on_command));
}

void tipline_content::set_rect(const platform::RECT& r) {
    rect = platform::RECT{r.left + 4, r.top + 4, r.right - 4, r.bottom - 8};
    picture->set_rect(rect);
    card.set_rect(rect);
    dirty = true;
}

void tipline_content::layout() {
    if (!built) {
        intro_text = page_text(intro_caption);
        status_text = page_text(contact_exists ? added_caption : missing_caption);
        hint_text = page_text(hint_caption);
        built = true;
    }
    place();
}

// The picture in the top-left corner; the texts one under the other, beside the picture while they start
// next to it and across the whole width below it, so that landscape needs no scrolling.
void tipline_content::place() {
    const int left = rect.left + margin, top = rect.top + margin, right = rect.right - margin;
    picture->set_rect(platform::RECT{left, top, right, rect.bottom - margin});
    picture->layout();
    const platform::RECT p = picture->get_rect();
    const bool has_picture = p.right > p.left;
    int y = top;
    for (cl::ui::text_block* text : {intro_text.get(), status_text.get(), hint_text.get()}) {
        const int x = has_picture && y < p.bottom ? p.right + margin : left;
        text->set_rect(platform::RECT{x, y, std::max(x + 1, right), y});
        text->layout();
        y = text->get_rect().bottom + margin;
    }
    dirty = true;
}

void tipline_content::draw(cl::ui::i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    g.fill_rect(rect, card_colour);
    card.draw(g, true);
    picture->draw(g, true);
    if (built) {
        intro_text->draw(g, true);
        status_text->draw(g, true);
        hint_text->draw(g, true);
    }
    dirty = false;
}

void tipline_content::activate() {
    utils::trace_scope trace("zor::tipline_content::activate");
    active = true;
    // A store that cannot be read counts as having no such contact.
    contact_exists = contacts.has_first_name(desk_name);
    show_status();
}

void tipline_content::deactivate() {
    utils::trace_scope trace("zor::tipline_content::deactivate");
    active = false;
    if (command_bar)
        command_bar->set_left_label(L"");
}

void tipline_content::add_contact() {
    if (contact_exists)
        return;
    if (!contacts.add(desk_name, desk_address)) {
        utils::log("The Tip-Line contact could not be saved: " + contacts.last_error());
        return;
    }
    contact_exists = true;
    show_status();
}

void tipline_content::on_command(std::wstring label) {
    if (active && label == add_command)
        add_contact();
}

void tipline_content::show_status() {
    if (command_bar)
        command_bar->set_left_label(contact_exists ? L"" : add_command);
    if (built) {
        status_text->set_text(contact_exists ? added_caption : missing_caption);
        place();
    }
    dirty = true;
}

} // namespace zor
