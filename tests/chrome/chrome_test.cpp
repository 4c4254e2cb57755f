#include "chrome/command_bar.h"
#include "chrome/footer_bar.h"
#include "chrome/header_bar.h"
#include "chrome/navigation_bar.h"
#include "support/page_fixture.h"
#include "ui/graphics.h"
#include "ui/resources.h"
#include "ui/static_fonts.h"

#include <string>
#include <utility>
#include <vector>

namespace {

using platform::POINT;
using platform::RECT;
using links = std::vector<std::pair<std::wstring, std::wstring>>;

class chrome : public page_fixture {
protected:
    template <class Bar>
    void listen(Bar& bar) {
        bar.clicked.connect(utils::function2<void, std::wstring, std::wstring>(
            [this](const std::wstring& page, const std::wstring& name) { clicks.emplace_back(page, name); }));
    }
    template <class Bar>
    static void tap(Bar& bar, POINT down, POINT up) {
        bar.on_pen_down(down);
        bar.on_pen_up(up);
    }
    links clicks;
};

TEST_F(chrome, the_header_logo_leads_home_on_a_tap_but_not_after_a_drag) {
    zor::ui::header_bar header;
    listen(header);
    header.set_rect(RECT{0, 0, 480, 748});
    header.layout();
    tap(header, {40, 30}, {49, 21}); // 9 pixels away: still a tap
    tap(header, {40, 30}, {50, 30}); // 10 pixels: a drag
    header.on_pen_up(POINT{40, 30}); // no press before it
    // Without a home city the weather area shows nothing and opens nothing.
    tap(header, {400, 30}, {400, 30});
    EXPECT_EQ(clicks, (links{{L"home", L""}}));
}

TEST_F(chrome, footer_links_follow_the_picture_in_both_orientations) {
    const std::vector<std::wstring> names{L"World",   L"Business", L"Technology", L"Sport",
                                          L"Science", L"Culture",  L"Extra"};
    struct probe {
        bool portrait;
        int link;
        POINT at; // relative to the footer's top-left corner
    };
    const probe probes[] = {{true, 0, {40, 10}},   {true, 3, {400, 29}}, {true, 4, {200, 40}},
                            {true, 5, {100, 40}},  {true, 6, {399, 47}}, {false, 0, {70, 10}},
                            {false, 4, {600, 20}}, {false, 5, {420, 5}}, {false, 6, {700, 31}}};
    for (const probe& pr : probes) {
        SCOPED_TRACE(std::to_string(pr.link) + (pr.portrait ? " portrait" : " landscape"));
        use_portrait(pr.portrait);
        zor::ui::footer_bar footer(names);
        listen(footer);
        clicks.clear();
        const int right = pr.portrait ? 480 : 800;
        footer.set_rect(RECT{0, 0, right, 700});
        footer.layout();
        EXPECT_EQ(footer.has_two_rows(), pr.portrait);
        EXPECT_EQ(footer.get_rect().top, 700 - (pr.portrait ? 50 : 34));
        const POINT at{pr.at.x, footer.get_rect().top + pr.at.y};
        tap(footer, at, at);
        const std::wstring name = pr.link == 6 ? L"Tip-Line" : names[static_cast<std::size_t>(pr.link)];
        EXPECT_EQ(clicks, (links{{L"headlines", name}}));
    }
    // Only six categories become links; the gap left of the first link and a moved pen open nothing.
    zor::ui::footer_bar footer(names);
    listen(footer);
    clicks.clear();
    footer.set_rect(RECT{0, 0, 800, 700});
    footer.layout();
    tap(footer, {10, 680}, {10, 680});
    tap(footer, {100, 680}, {100, 698}); // still inside link 0 but 18 pixels away
    tap(footer, {170, 680}, {178, 680}); // lifted over link 1
    EXPECT_TRUE(clicks.empty());
}

TEST_F(chrome, command_bar_soft_keys_pen_and_enter_trigger_labelled_commands) {
    zor::ui::command_bar bar;
    std::vector<std::wstring> left, right;
    bar.left_clicked.connect(
        utils::function1<void, std::wstring>([&](std::wstring l) { left.push_back(l); }));
    bar.right_clicked.connect(
        utils::function1<void, std::wstring>([&](std::wstring l) { right.push_back(l); }));
    bar.set_rect(RECT{0, 0, 480, 748});
    bar.layout();
    EXPECT_EQ(bar.get_rect(), (RECT{0, 708, 480, 748}));

    bar.on_key_down(zor::ui::command_bar::soft_key_left); // no label: no command
    bar.set_left_label(L"Search");
    bar.set_right_label(L"Back");
    bar.on_key_down(zor::ui::command_bar::soft_key_left);
    bar.on_key_down(zor::ui::command_bar::soft_key_right);
    bar.on_key_down(platform::VK_RETURN);
    bar.set_enter_triggers_left(true);
    bar.on_key_down(platform::VK_RETURN);
    bar.on_pen_down(POINT{460, 720});
    bar.on_pen_down(POINT{20, 720});
    EXPECT_EQ(left, (std::vector<std::wstring>{L"Search", L"Search", L"Search"}));
    EXPECT_EQ(right, (std::vector<std::wstring>{L"Back", L"Back"}));

    // The labels are drawn in white on the bar.
    clear(0);
    bar.draw(*g, false);
    EXPECT_GT(count(RECT{0, 708, 480, 748}, 0xFFFF), 60);
    EXPECT_EQ(changed_outside(RECT{0, 708, 480, 748}, 0), 0);
}

class navigation : public chrome {
protected:
    void SetUp() override {
        chrome::SetUp();
        // Made once the pictures are there.
        made.reset(new zor::ui::navigation_bar);
        bar().previous_requested.connect(utils::function0<void>([this] { asked.push_back(-1); }));
        bar().next_requested.connect(utils::function0<void>([this] { asked.push_back(+1); }));
        for (const wchar_t* caption : {L"Home", L"News", L"Weather"})
            bar().add_tab(zor::ui::navigation_bar::tab_record{caption, caption, 0xFFFFFF, 0x2040C0, 2});
        bar().set_rect(RECT{0, 56, 480, 106});
        bar().layout();
        bar().switch_to(zor::i_switchable::jump, 0);
    }
    void tap_arrow(bool left) {
        const RECT r = left ? bar().left_arrow_rect() : bar().right_arrow_rect();
        bar().on_pen_down(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    zor::ui::navigation_bar& bar() { return *made; }
    std::unique_ptr<zor::ui::navigation_bar> made;
    std::vector<int> asked;
};

TEST_F(navigation, arrows_ask_for_neighbours_only_where_there_are_some) {
    tap_arrow(true);
    EXPECT_TRUE(asked.empty());
    EXPECT_FALSE(bar().arrow_shown(true));
    EXPECT_TRUE(bar().arrow_shown(false));
    tap_arrow(false);
    EXPECT_EQ(asked, (std::vector<int>{+1}));

    EXPECT_EQ(bar().switch_to(zor::i_switchable::jump, 2), 2);
    asked.clear();
    tap_arrow(false);
    EXPECT_TRUE(asked.empty());
    tap_arrow(true);
    bar().on_key_down(platform::VK_RIGHT);
    bar().on_key_down(platform::VK_LEFT);
    EXPECT_EQ(asked, (std::vector<int>{-1, +1, -1}));

    // The bar refuses moves past its ends, so the page does not tell the tickers.
    EXPECT_EQ(bar().switch_to(zor::i_switchable::next, -1), -1);
    EXPECT_EQ(bar().switch_to(zor::i_switchable::previous, -1), 1);
    EXPECT_EQ(bar().switch_to(zor::i_switchable::jump, 7), -1);
    EXPECT_EQ(bar().current_index(), 1);
}

TEST_F(navigation, tabs_slide_a_hundred_units_per_tab_and_draw_both_while_moving) {
    bar().update(1000);
    bar().switch_to(zor::i_switchable::next, -1);
    EXPECT_EQ(bar().slide().value(1), 100);
    bar().update(1025);
    const double v = bar().slide().value(0);
    EXPECT_GT(v, 0);
    EXPECT_LT(v, 100);
    clear(0);
    bar().draw(*g, false);
    const int shift = static_cast<int>(v * 480 / 100 + 0.5);
    // Two white cards: the leaving one ends where the arriving one begins.
    EXPECT_EQ(pixel(480 - shift - 20, 80), 0xFFFF);
    EXPECT_EQ(pixel(480 - shift + 20, 80), 0xFFFF);
    EXPECT_EQ(changed_outside(RECT{-800, 56, 1600, 106}, 0), 0);
    for (unsigned long t = 1050; t < 3000; t += 25)
        bar().update(t);
    EXPECT_EQ(bar().slide().value(0), 100);
}

TEST_F(navigation, long_captions_lose_four_characters_at_a_time_until_they_fit) {
    bar().add_tab(zor::ui::navigation_bar::tab_record{
        L"x", L"Parliament votes on the long awaited reform of the pension system", 0xFFFFFF, 0, 2});
    bar().add_tab(
        zor::ui::navigation_bar::tab_record{L"y", L"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", 0xFFFFFF, 0, 2});
    bar().layout();
    auto graphics = cl::ui::get_graphics();
    for (int i : {3, 4}) {
        const auto& t = bar().tab_at(i);
        const std::wstring& shown = t.shown_caption();
        const RECT area = t.caption_area();
        ASSERT_GE(shown.size(), 3u);
        EXPECT_EQ(shown.substr(shown.size() - 3), L"...");
        EXPECT_LT(graphics->text_width(shown, cl::ui::fonts::tahoma_28_bold), area.right - area.left);
        // The step before (one character longer, or the full caption) did not fit.
        const std::wstring& full = t.full_caption();
        const std::size_t kept = shown.size() - 3;
        const std::wstring before = kept + 4 == full.size() ? full : full.substr(0, kept + 1) + L"...";
        EXPECT_GE(graphics->text_width(before, cl::ui::fonts::tahoma_28_bold), area.right - area.left);
    }
    EXPECT_EQ(bar().tab_at(0).shown_caption(), L"Home");

    // A tab too narrow for any letter ends with the bare ellipsis instead of looping.
    bar().set_rect(RECT{0, 56, 100, 106});
    bar().layout();
    EXPECT_EQ(bar().tab_at(3).shown_caption(), L"...");
}

TEST_F(navigation, bouncing_arrows_redraw_only_their_strips_and_leave_the_bar_as_a_full_draw_would) {
    bar().switch_to(zor::i_switchable::jump, 1); // both arrows shown
    unsigned long t = 1000;
    bar().update(t);
    bar().draw(*g, true);
    std::vector<std::uint16_t> partial, full;
    int moved = 0;
    for (int frame = 0; frame < 12; ++frame) {
        t += 83; // the arrows move a few pixels
        bar().update(t);
        moved += bar().is_dirty() ? 1 : 0;
        bar().draw(*g, false);
    }
    EXPECT_GE(moved, 6);
    auto grab = [&](std::vector<std::uint16_t>& out) {
        out.clear();
        for (int y = 56; y < 106; ++y)
            for (int x = 0; x < 480; ++x)
                out.push_back(pixel(x, y));
    };
    grab(partial);
    clear(0);
    bar().draw(*g, true);
    grab(full);
    EXPECT_EQ(partial, full);
}

} // namespace
