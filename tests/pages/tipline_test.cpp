// The citizen-report page over a phone book in a temporary folder.
#include "chrome/command_bar.h"
#include "pages/tipline/tipline_content.h"
#include "platform/text.h"
#include "support/graphics_fixture.h"
#include "support/temp_folder.h"
#include "ui/graphics.h"
#include "ui/resources.h"

#include <dirent.h>

namespace {

using platform::RECT;
using zor::tipline_content;

class tipline_page : public graphics_fixture {
protected:
    void SetUp() override {
        graphics_fixture::SetUp();
        cl::ui::resources::load(platform::from_utf8(ZOR_PANEL_DIR));
        cl::ui::resources::set_portrait(true);
        cl::ui::create_graphics(window);
    }
    void TearDown() override {
        cl::ui::destroy_graphics();
        graphics_fixture::TearDown();
    }

    std::unique_ptr<tipline_content> open(const std::string& folder) {
        auto page = std::make_unique<tipline_content>(&commands, folder);
        page->set_rect(RECT{0, 106, 480, 658});
        page->layout();
        page->activate();
        return page;
    }
    void press_add() { commands.on_key_down(zor::ui::command_bar::soft_key_left); }
    int cards() {
        int n = 0;
        if (DIR* d = ::opendir(book.path().c_str())) {
            while (dirent* e = ::readdir(d))
                n += e->d_name[0] != '.' ? 1 : 0;
            ::closedir(d);
        }
        return n;
    }

    zor::ui::command_bar commands;
    temp_folder book;
};

TEST_F(tipline_page, the_command_follows_the_desk_contact_at_every_activation) {
    // Names that sort after the desk's do not stand for it.
    book.write("zoe.vcf", "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Zoe Smith\r\nN:Smith;Zoe;;;\r\nEND:VCARD\r\n");
    auto page = open(book.path());
    EXPECT_EQ(commands.left_label(), L"Add");
    EXPECT_EQ(page->status()->get_text(), tipline_content::missing_caption);

    book.write("desk.vcf", "BEGIN:VCARD\nVERSION:3.0\nFN:ZOR\nN:;ZOR;;;\nEND:VCARD\n");
    page->deactivate();
    page->activate();
    EXPECT_EQ(commands.left_label(), L"");
    EXPECT_EQ(page->status()->get_text(), tipline_content::added_caption);
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
    ::unlink(book.file("desk.vcf").c_str());
    page->activate();
    EXPECT_EQ(commands.left_label(), L"Add");
    EXPECT_EQ(page->status()->get_text(), tipline_content::missing_caption);
}

TEST_F(tipline_page, add_saves_the_desk_once_and_only_while_the_page_is_current) {
    auto page = open(book.path());
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
    EXPECT_EQ(commands.left_label(), L"");
    EXPECT_EQ(page->status()->get_text(), tipline_content::added_caption);
    page->add_contact();
    commands.set_left_label(L"Add");
    press_add();
    EXPECT_EQ(cards(), 1);
}

TEST_F(tipline_page, a_failed_save_keeps_the_command_and_says_nothing_was_added) {
    book.write("not_a_folder", "");
    auto page = open(book.file("not_a_folder"));
    press_add();
    EXPECT_FALSE(page->has_contact());
    EXPECT_EQ(commands.left_label(), L"Add");
    EXPECT_EQ(page->status()->get_text(), tipline_content::missing_caption);
}

} // namespace
