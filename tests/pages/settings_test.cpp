#include "model/options.h"
#include "pages/settings/settings_content.h"
#include "pages/settings/terms_condition_content.h"
#include "platform/debug_log.h"
#include "platform/text.h"
#include "support/config_file.h"
#include "support/log_capture.h"
#include "support/page_fixture.h"
#include "support/temp_folder.h"

#include <fstream>
#include <iterator>

namespace {

using zor::content_state;

class settings : public page_fixture {
protected:
    void SetUp() override {
        page_fixture::SetUp();
        // Two cities, the first the home city, and nothing else set yet.
        folder.write("options.xml", "<?xml version=\"1.0\"?><Settings><p7>true</p7></Settings>"
                                    "<Weather><p7>Oslo</p7><p9>Lima</p9></Weather>");
        zor::options::load_from(folder.wpath());
    }
    std::string saved() {
        std::ifstream in(folder.file("options.xml"));
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    cl::ui::settings_block_item& row(zor::settings_content& s, const wchar_t* key) {
        return dynamic_cast<cl::ui::settings_block_item&>(*s.rows().find_item(key));
    }
    temp_folder folder;
};

TEST_F(settings, groups_come_in_order_with_the_defaults_of_a_first_start) {
    // No second section: a first start, which gets the defaults.
    folder.write("options.xml", "<?xml version=\"1.0\"?><Settings><p7>true</p7></Settings>");
    zor::options::load_from(folder.wpath());
    zor::options::instance().order().push_back(L"7");
    zor::settings_content page;
    std::vector<std::wstring> keys;
    for (const auto& item : page.rows().items())
        keys.push_back(item->key());
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"4", L"2", L"3", L"1", L"terms_condition", L"About"}));
    // The installed config.xml has six categories: one option each.
    EXPECT_NE(page.rows().find_item(L"2.6"), nullptr);
    EXPECT_EQ(page.rows().find_item(L"2.7"), nullptr);
    for (const wchar_t* on : {L"1.2", L"2.1", L"2.2", L"4.2", L"7"})
        EXPECT_TRUE(page.is_on(on)) << narrow(on);
    for (const wchar_t* off : {L"1.1", L"2.3", L"4.1"})
        EXPECT_FALSE(page.is_on(off)) << narrow(off);
}

TEST_F(settings, a_radio_choice_moves_a_check_toggles_every_change_is_saved_and_terms_open_their_page) {
    zor::settings_content page;
    int changes = 0;
    page.changed.connect(utils::function0<void>([&] { ++changes; }));
    row(page, L"4.3").on_activated();
    EXPECT_TRUE(page.is_on(L"4.3"));
    EXPECT_FALSE(page.is_on(L"4.2"));
    EXPECT_NE(saved().find("<p4.3>true</p4.3>"), std::string::npos);
    EXPECT_NE(saved().find("<p4.2>false</p4.2>"), std::string::npos);
    // Choosing the option that is already on keeps it on.
    row(page, L"4.3").on_activated();
    EXPECT_TRUE(page.is_on(L"4.3"));

    // A check toggles alone.
    row(page, L"2.1").on_activated();
    EXPECT_TRUE(page.is_on(L"2.1"));
    EXPECT_FALSE(page.is_on(L"2.2"));
    EXPECT_NE(saved().find("<p2.1>true</p2.1>"), std::string::npos);
    row(page, L"2.1").on_activated();
    EXPECT_FALSE(page.is_on(L"2.1"));
    EXPECT_GE(changes, 3);

    row(page, L"9").on_activated();
    EXPECT_TRUE(zor::options::instance().flag(L"9"));
    EXPECT_FALSE(zor::options::instance().flag(L"7"));

    // Removing the home city moves the choice to the next, and only the city list still names it.
    row(page, L"7").on_activated();
    page.remove_city(L"7");
    EXPECT_EQ(page.rows().find_item(L"7"), nullptr);
    EXPECT_TRUE(page.is_on(L"9"));
    EXPECT_NE(saved().find("<p9>true</p9>"), std::string::npos);
    EXPECT_EQ(saved().find("<p7>"), saved().find("<p7>Oslo</p7>"));

    // The terms open their page.
    std::vector<content_state> asked;
    page.request.connect(utils::function1<void, content_state>([&](content_state s) { asked.push_back(s); }));
    page.select(L"terms_condition");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], content_state(L"settings", L"terms_condition"));
}

TEST_F(settings, a_group_opens_under_its_header_and_closes_again) {
    zor::settings_content page;
    page.set_rect(platform::RECT{0, 106, 480, 708});
    auto& font = dynamic_cast<cl::ui::expanded_block&>(*page.rows().find_item(L"4"));
    EXPECT_FALSE(row(page, L"4.1").is_visible());
    const int closed_bottom = font.bottom();
    font.header().on_activated();
    EXPECT_TRUE(font.is_expanded());
    EXPECT_TRUE(row(page, L"4.1").is_visible());
    EXPECT_EQ(font.bottom(), row(page, L"4.3").bottom());
    // The groups below move down, and a tap there reaches them, not the hidden rows.
    EXPECT_GT(page.rows().find_item(L"2")->top(), closed_bottom);
    // Option captions line up at x 90, indent or not.
    clear(0);
    page.draw(*g, true);
    EXPECT_EQ(row(page, L"4.1").caption_rect().left, 90);
    font.header().on_activated();
    EXPECT_FALSE(row(page, L"4.1").is_visible());
    EXPECT_EQ(font.bottom(), closed_bottom);
}

TEST_F(settings, the_terms_read_like_an_article_and_a_bad_file_leaves_the_page_blank) {
    folder.write("terms_conditions.xml",
                 "<article><location/><text><paragraph>One.</paragraph><paragraph>Two.</paragraph>"
                 "<paragraph>Three.</paragraph></text></article>");
    zor::terms_condition_content terms(folder.wpath());
    EXPECT_TRUE(terms.is_loaded());
    terms.set_rect(platform::RECT{0, 106, 480, 708});
    terms.layout();
    EXPECT_EQ(terms.article_view().pieces().size(), 3u);
    EXPECT_EQ(terms.get_state(), content_state(L"terms_condition", L""));

    // Scrolled, its record keeps the paragraph being read, which the page turned to the other width shows.
    std::string long_text = "<article><location/><text>";
    for (int i = 0; i < 20; ++i)
        long_text +=
            "<paragraph>Clause " + std::to_string(i) +
            ": the service is provided as it is, and may change, be delayed or be unavailable.</paragraph>";
    folder.write("terms_conditions.xml", long_text + "</text></article>");
    zor::terms_condition_content read(folder.wpath());
    read.set_rect(platform::RECT{0, 106, 480, 708});
    read.layout();
    read.scroll_y(-600);
    const content_state kept = read.get_state();
    ASSERT_EQ(kept.extra.size(), 2u);
    EXPECT_GT(kept.extra[0], 3);
    zor::terms_condition_content turned(folder.wpath());
    turned.set_rect(platform::RECT{0, 106, 800, 388});
    turned.layout();
    turned.resume(kept);
    EXPECT_EQ(turned.article_view().reading_place().paragraph, kept.extra[0]);

    auto log = std::make_unique<log_capture>();
    temp_folder empty;
    EXPECT_FALSE(zor::terms_condition_content(empty.wpath()).is_loaded());
    empty.write("terms_conditions.xml", "<article><location/>");
    EXPECT_FALSE(zor::terms_condition_content(empty.wpath()).is_loaded());
    EXPECT_TRUE(log->lines().empty()); // a missing or broken file says nothing
    empty.write("terms_conditions.xml", "<article><location/></article>");
    EXPECT_FALSE(zor::terms_condition_content(empty.wpath()).is_loaded());
    const std::vector<std::string> lines = log->lines();
    log.reset();
    int told = 0;
    for (const auto& l : lines)
        told += l.find("Loading Terms & Condition content is fail") != std::string::npos ? 1 : 0;
    EXPECT_EQ(told, 1);

    // The installed file has the terms.
    EXPECT_TRUE(zor::terms_condition_content(platform::from_utf8(ZOR_PANEL_DIR)).is_loaded());
}

} // namespace
