// The citizen-report page over a phone book in a temporary folder.
#include "chrome/command_bar.h"
#include "pages/tipline/tipline_content.h"
#include "platform/text.h"
#include "support/graphics_fixture.h"
#include "support/temp_folder.h"
#include "ui/graphics.h"
#include "ui/resources.h"

#include <filesystem>

namespace {

using platform::RECT;
using zor::tipline_content;

class tipline_page : public graphics_fixture {
protected:
    void SetUp() override {
        graphics_fixture::SetUp();
        use_installed_pictures();
    }
    void TearDown() override {
        page.reset();
        graphics_fixture::TearDown();
    }

    void open(const std::string& folder) {
        page = std::make_unique<tipline_content>(&commands, folder);
        page->set_rect(RECT{0, 106, 480, 658});
        page->layout();
        page->activate();
    }
    void press_add() { commands.on_key_down(zor::ui::command_bar::soft_key_left); }
    long cards() const {
        return std::distance(std::filesystem::directory_iterator(book.path()),
                             std::filesystem::directory_iterator());
    }
    // The command and the status line, which always go together.
    void expect_added(bool added) {
        EXPECT_EQ(commands.left_label(), added ? L"" : L"Add");
        EXPECT_EQ(page->status()->get_text(),
                  added ? tipline_content::added_caption : tipline_content::missing_caption);
    }

    zor::ui::command_bar commands;
    temp_folder book;
    std::unique_ptr<tipline_content> page;
};

TEST_F(tipline_page, the_command_follows_the_desk_contact_at_every_activation) {
    // Names that sort after the desk's do not stand for it.
    book.write("zoe.vcf", "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Zoe Smith\r\nN:Smith;Zoe;;;\r\nEND:VCARD\r\n");
    open(book.path());
    expect_added(false);

    book.write("desk.vcf", "BEGIN:VCARD\nVERSION:3.0\nFN:ZOR\nN:;ZOR;;;\nEND:VCARD\n");
    page->deactivate();
    page->activate();
    expect_added(true);
    EXPECT_TRUE(page->is_dirty());

    // Picture 15 pixels into the page's card, texts stacked inside the margin in their order.
    const RECT card = page->get_rect(), picture = page->picture_rect();
    EXPECT_EQ(card.left, 4);
    EXPECT_EQ(picture.left, card.left + 15);
    EXPECT_EQ(picture.top, card.top + 15);
    EXPECT_GT(picture.bottom, picture.top);
    int top = card.top + 15;
    for (const auto* text : {page->intro(), page->status(), page->hint()}) {
        const RECT r = text->get_rect();
        EXPECT_GE(r.top, top);
        EXPECT_GT(r.bottom, r.top + 22); // wrapped: more than one line
        EXPECT_LE(r.right, card.right - 15);
        // Clear of the picture beside it, then from the margin below it.
        if (r.top < picture.bottom)
            EXPECT_GE(r.left, picture.right + 15);
        else
            EXPECT_EQ(r.left, card.left + 15);
        top = r.bottom;
    }
    EXPECT_GE(page->hint()->get_rect().top, picture.bottom);

    // Removed outside the panel, the command comes back.
    std::filesystem::remove(book.file("desk.vcf"));
    page->activate();
    expect_added(false);
}

TEST_F(tipline_page, add_saves_the_desk_once_only_while_the_page_is_current_and_a_failure_keeps_the_command) {
    open(book.path());
    page->deactivate();
    EXPECT_EQ(commands.left_label(), L"");
    // Another content's "Add" is not this page's.
    commands.set_left_label(L"Add");
    press_add();
    EXPECT_FALSE(page->has_contact());

    page->activate();
    press_add();
    EXPECT_EQ(cards(), 1);
    EXPECT_TRUE(page->has_contact());
    expect_added(true);
    page->add_contact();
    commands.set_left_label(L"Add");
    press_add();
    EXPECT_EQ(cards(), 1);

    // A failed save keeps the command and says nothing was added.
    book.write("not_a_folder", "");
    open(book.file("not_a_folder"));
    press_add();
    EXPECT_FALSE(page->has_contact());
    expect_added(false);
}

} // namespace
