// Pages built by the real content factory: turning the screen rebuilds the page and the user stays where they
// were; the add-city page asks nothing of an empty field.
#include "app/controller.h"
#include "chrome/command_bar.h"
#include "model/options.h"
#include "pages/settings/settings_content.h"
#include "pages/weather/detailed_weather_content.h"
#include "pages/weather/weather_content.h"
#include "platform/text.h"
#include "support/page_fixture.h"
#include "support/temp_folder.h"
#include "ui/expanded_block.h"

#include <string>
#include <vector>

namespace {

using platform::RECT;
using zor::content_state;
using zor::app::controller;

const RECT portrait{0, 0, 480, 748};
const RECT landscape{0, 0, 800, 428};

std::string described(const content_state& s) {
    std::string out(s.page.begin(), s.page.end());
    for (const auto& p : s.params)
        out += "|" + std::string(p.begin(), p.end());
    for (int n : s.extra)
        out += "|" + std::to_string(n);
    return out;
}

class rotation : public page_fixture {
protected:
    void SetUp() override {
        page_fixture::SetUp();
        folder.write("options.xml", "<?xml version=\"1.0\"?><Settings><p2.1>true</p2.1></Settings>"
                                    "<Weather><p100001>London</p100001></Weather>");
        zor::options::load_from(folder.wpath());
        control.reset(new controller());
        control->set_rect(portrait);
        control->layout();
        control->init();
    }
    void TearDown() override {
        control.reset();
        page_fixture::TearDown();
    }
    zor::app::page& p() { return control->current_page(); }
    content_state shown() {
        auto* c = p().contents().current_content();
        return c ? c->get_state() : content_state(L"(none)", L"");
    }

    temp_folder folder;
    std::unique_ptr<controller> control;
};

// Every content comes back after a turn, and none draws outside its rectangle in either orientation (the
// globe's own drawing is checked with the world view).
TEST_F(rotation, every_content_comes_back_in_both_orientations_and_draws_inside_its_rectangle) {
    struct row {
        const wchar_t* key;
        std::vector<std::wstring> params;
        std::vector<std::int32_t> extra;
        bool drawn_here = true;
    };
    const std::wstring clip = folder.wpath() + L"/none.ogg";
    const row rows[] = {
        {L"home", {L"", L"", L""}, {}},
        {L"news", {L"", L"", L""}, {}},
        {L"weather", {L"", L"", L""}, {}},
        {L"settings", {L"", L"", L""}, {}},
        {L"headlines", {L"Tip-Line", L"", L""}, {}},
        {L"settings_item", {L"terms_condition", L"", L""}, {}},
        {L"video_player", {L"video", clip, L""}, {}},
        {L"weather_item", {L"add_city", L"Lon", L""}, {}},
        {L"weather_item", {L"2643743", L"London", L""}, {}},
        {L"weather_item", {L"world_view", L"", L""}, {}, false},
        {L"globe", {L"", L"None", L""}, {19, 319}, false},
        {L"continent_map_content", {L"EU", L"Europe", L""}, {}},
        {L"zone_map_content", {L"EU", L"Europe", L"z1"}, {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(platform::to_utf8(std::wstring(r.key) + L" " + r.params[0]));
        control->resize(portrait);
        p().load(r.key, r.params, r.extra);
        p().update(1000);
        const content_state before = shown();
        const auto history = p().get_history();
        ASSERT_NE(before.page, L"(none)");
        control->resize(landscape);
        p().update(1000);
        EXPECT_EQ(described(shown()), described(before));
        EXPECT_EQ(p().get_history(), history);
        control->resize(portrait);
        p().update(1000);
        EXPECT_EQ(described(shown()), described(before));
        p().load(L"home", {L"", L"", L""}, {});
    }
    for (const RECT screen : {portrait, landscape}) {
        control->resize(screen);
        for (const auto& r : rows) {
            if (!r.drawn_here)
                continue;
            SCOPED_TRACE(platform::to_utf8(std::wstring(r.key) + L" " + r.params[0]) + " " +
                         std::to_string(screen.right));
            // Without the empty values, as a link gives them: the detailed forecast then keeps its city's
            // name.
            std::vector<std::wstring> params = r.params;
            while (!params.empty() && params.back().empty())
                params.pop_back();
            p().load(r.key, params, r.extra);
            for (int frame = 0; frame < 3; ++frame)
                p().update(1000 + frame * 40);
            auto* shown = p().contents().current_content();
            ASSERT_TRUE(shown);
            const RECT area = p().contents().get_rect();
            clear(0x1234);
            shown->draw(*g, true);
            EXPECT_EQ(changed_outside(area, 0x1234), 0);
            // Inner pages name what they show: in the tab, or over their rows when the tab says nothing.
            const auto& tabs = p().navigation();
            if (tabs.tab_at(tabs.current_index()).full_caption().empty()) {
                auto* detail = dynamic_cast<zor::detailed_weather_content*>(shown);
                ASSERT_TRUE(detail);
                EXPECT_EQ(detail->heading(), L"London");
            }
        }
    }
}

TEST_F(rotation, a_turn_keeps_the_selected_city_and_the_open_group_and_place_of_the_settings) {
    // A page's contents run once its pictures are decoded, a drawn frame 500 ms apart.
    unsigned long now = 1000;
    auto shown_weather = [&] {
        auto* w = dynamic_cast<zor::weather_content*>(p().contents().current_content());
        for (int frame = 0; frame < 12 && w && !w->is_loaded(); ++frame) {
            p().draw(*g, false);
            control->update(now += 501);
        }
        return w;
    };
    p().load(L"weather", {L"", L"", L""}, {});
    auto* weather = shown_weather();
    ASSERT_TRUE(weather && weather->is_loaded());
    weather->items().focus_item(L"100001");
    control->resize(landscape);
    weather = shown_weather();
    ASSERT_TRUE(weather);
    EXPECT_EQ(weather->current_key(), L"100001");
    EXPECT_EQ(weather->shown_key(), L"100001"); // its rows at once, not the world view's sliding out

    p().load(L"settings", {L"", L"", L""}, {});
    auto* settings = dynamic_cast<zor::settings_content*>(p().contents().current_content());
    ASSERT_TRUE(settings);
    auto group = [&](const wchar_t* key) {
        return static_cast<cl::ui::expanded_block*>(settings->rows().find_item(key)->as_list());
    };
    for (const wchar_t* open : {L"4", L"2"})
        group(open)->set_expanded(true);
    settings->rows().focus_item(L"2");
    group(L"2")->focus_item(L"2.1");
    // Scrolled into the second group: an open group is one row of the list.
    settings->layout();
    settings->scroll_y(-450);
    const auto top = settings->rows().top_place();
    ASSERT_EQ(top.row, 1);
    ASSERT_GT(top.into, 0);
    control->resize(portrait);
    settings = dynamic_cast<zor::settings_content*>(p().contents().current_content());
    ASSERT_TRUE(settings);
    EXPECT_TRUE(group(L"4")->is_expanded());
    EXPECT_TRUE(group(L"2")->is_expanded());
    EXPECT_FALSE(group(L"1")->is_expanded());
    EXPECT_EQ(settings->rows().focused_key(), L"2");
    EXPECT_EQ(group(L"2")->focused_key(), L"2.1");
    EXPECT_EQ(settings->rows().top_place().row, top.row);
    EXPECT_NEAR(settings->rows().top_place().into, top.into, 3); // within a pixel
}

TEST_F(rotation, back_onto_the_citizen_report_after_a_turn) {
    p().on_link(L"headlines", L"Tip-Line");
    ASSERT_EQ(described(shown()), described(content_state(L"tipline", L"Tip-Line")));
    p().on_link(L"settings_item", L"terms_condition");
    control->resize(landscape);
    EXPECT_EQ(described(shown()), described(content_state(L"terms_condition", L"")));
    p().go_back();
    EXPECT_EQ(described(shown()), described(content_state(L"tipline", L"Tip-Line")));
    EXPECT_EQ(p().commands().left_label(), L"Add");
}

TEST_F(rotation, enter_on_the_world_view_just_opened_opens_the_continent_facing_the_user) {
    p().load(L"weather_item", {L"world_view", L"", L""}, {});
    ASSERT_EQ(shown().page, L"globe");
    EXPECT_EQ(shown().params[1], L"South America");
    // Input waits for the page's pictures, decoded one a drawn frame at least 500 ms apart; the request goes
    // out on the next frame.
    unsigned long now = 1000;
    for (int frame = 0; frame < 8 && !p().preloading().is_finished(); ++frame) {
        p().draw(*g, false);
        control->update(now += 501);
    }
    ASSERT_TRUE(p().preloading().is_finished());
    p().process_event(cl::app::event(cl::app::event::key_down, 13, 0, 0));
    for (int frame = 0; frame < 40 && shown().page == L"globe"; ++frame)
        control->update(now += 25);
    EXPECT_EQ(shown().page, L"continent_map_content");
    EXPECT_EQ(shown().params[0], L"3");
}

TEST_F(rotation, search_with_an_empty_field_stays_on_the_field) {
    p().load(L"weather_item", {L"add_city", L"", L""}, {});
    ASSERT_EQ(p().commands().left_label(), L"Search");
    p().commands().on_key_down(zor::ui::command_bar::soft_key_left);
    EXPECT_EQ(described(shown()), described(content_state(L"weather_item", L"add_city", L"")));
    EXPECT_TRUE(p().get_history().empty());
}

} // namespace
