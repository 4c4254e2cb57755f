#include "app/controller.h"
#include "support/page_fixture.h"
#include "support/test_content.h"
#include "ui/resources.h"

#include <algorithm>

namespace {

using cl::app::event;
using platform::RECT;
using zor::content_state;
using zor::app::controller;
using zor::app::page;

const RECT portrait{0, 0, 480, 748};
const RECT landscape{0, 0, 800, 428};

class pages : public page_fixture {
protected:
    void SetUp() override {
        page_fixture::SetUp();
        factory = std::make_shared<recording_factory>(&journal);
        make();
        control->init();
    }
    void make() {
        control.reset(new controller(factory));
        control->set_rect(portrait);
        control->layout();
    }
    void TearDown() override {
        control.reset();
        page_fixture::TearDown();
    }
    page& p() { return control->current_page(); }
    std::wstring current() {
        auto* c = p().contents().current_content();
        return c ? c->name() : L"(none)";
    }
    // Frames until the five globe pictures are decoded (at least 500 ms apart, one per drawn frame).
    void preload() {
        for (int i = 0; i < 8 && !p().preloading().is_finished(); ++i) {
            p().draw(*g, false);
            p().update(now);
            now += 501;
        }
        ASSERT_TRUE(p().preloading().is_finished());
    }
    void pen(int type, int x, int y) { control->process_event(event(type, 0, x, y)); }
    void swipe(int x1, int y1, int x2, int y2) {
        pen(event::pen_down, x1, y1);
        pen(event::pen_move, (x1 + x2) / 2, (y1 + y2) / 2);
        pen(event::pen_move, x2, y2);
        pen(event::pen_up, x2, y2);
    }
    void tap(int x, int y) {
        pen(event::pen_down, x, y);
        pen(event::pen_up, x, y);
    }
    // The factory calls since the last look, joined by "; ".
    std::string built() {
        std::string calls;
        for (const auto& line : journal) {
            if (line.find("activate") == std::string::npos && line.find("down") != 0 &&
                line.find("scroll") != 0 && line.find("key") != 0)
                calls += (calls.empty() ? "" : "; ") + line;
        }
        journal.clear();
        return calls;
    }

    unsigned long now = 1000;
    std::shared_ptr<recording_factory> factory;
    std::unique_ptr<controller> control;
};

TEST_F(pages, start_on_the_main_page_with_home_and_the_full_chrome) {
    EXPECT_EQ(built(), "main");
    EXPECT_EQ(current(), L"Home");
    EXPECT_EQ(p().contents().size(), 4);
    EXPECT_FALSE(p().contents().opening_requested()); // the very first page plays no opening
    EXPECT_TRUE(p().header().is_visible());
    EXPECT_TRUE(p().navigation().is_visible());
    EXPECT_TRUE(p().footer().is_visible());
    EXPECT_TRUE(p().commands().is_visible());
    EXPECT_EQ(p().navigation().tab_count(), 4);
    EXPECT_EQ(p().navigation().tab_at(2).full_caption(), L"weather");
    EXPECT_EQ(p().tickers().get_mode(), zor::ticker_manager::news_and_adverts);
    EXPECT_TRUE(p().get_history().empty());

    // News while home is shown only slides the strip.
    p().load(L"news", {L"", L"", L""}, {});
    EXPECT_TRUE(built().empty());
    EXPECT_EQ(current(), L"news");
    EXPECT_EQ(p().navigation().current_index(), 1);
    EXPECT_FALSE(p().contents().opening_requested());
}

TEST_F(pages, every_request_leads_to_its_page) {
    struct row {
        const wchar_t* source;
        std::vector<std::wstring> params;
        const char* built; // "" when no page is built
        std::wstring shown;
        size_t history;
    };
    const row rows[] = {
        {L"home_weather", {L"", L"", L""}, "", L"weather", 0},
        {L"home_video", {L"", L"", L""}, "", L"Home", 0},
        {L"home_tipline", {L"Tip-Line", L"", L""}, "headlines Tip-Line||", L"Tip-Line", 1},
        {L"news", {L"Sport", L"", L""}, "headlines Sport||", L"Sport", 1},
        {L"headlines", {L"World", L"", L"h2"}, "article World||h2", L"World", 1},
        {L"article", {L"World", L"", L"h2"}, "attach World||h2", L"h2", 1},
        {L"weather", {L"London", L"", L""}, "detailed London|", L"London", 1},
        {L"home_city", {L"Paris", L"", L""}, "detailed Paris|", L"Paris", 1},
        {L"home_article", {L"Business", L"", L"h3"}, "article Business||h3", L"Business", 1},
        {L"globe", {L"EU", L"Europe", L""}, "continent EU|Europe", L"EU", 1},
        {L"continent_map_content", {L"EU", L"Europe", L"z1"}, "zone EU|Europe|z1", L"z1", 1},
        {L"weather_home", {L"", L"", L""}, "", L"weather", 1},
        {L"zone_map_content", {L"add_city", L"Oslo", L""}, "add_city Oslo", L"add_city", 1},
        {L"video_player", {L"clip", L"news.mp4", L""}, "video clip|news.mp4", L"video", 1},
        {L"settings", {L"terms_condition", L"", L""}, "terms", L"terms_condition", 1},
        {L"something_else", {L"x", L"", L""}, "", L"Home", 1},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(narrow(r.source));
        make();
        built();
        p().on_request(content_state(r.source, r.params[0], r.params[1], r.params[2]));
        EXPECT_EQ(built(), r.built);
        EXPECT_EQ(current(), r.shown);
        EXPECT_EQ(p().get_history().size(), r.history);
        if (r.history == 1) {
            EXPECT_EQ(p().get_history()[0], content_state(L"home", L"Home"));
        }
    }
}

TEST_F(pages, load_dispatches_on_the_key_and_the_first_value) {
    struct row {
        const wchar_t* key;
        std::vector<std::wstring> params;
        std::vector<std::int32_t> extra;
        const char* built;
    };
    const row rows[] = {
        {L"headlines", {L"World", L"a", L"b"}, {}, "headlines World|a|b"},
        {L"article", {L"World", L"sub", L"h1"}, {}, "article World|sub|h1"},
        {L"attach", {L"World", L"sub", L"h1"}, {}, "attach World|sub|h1"},
        {L"weather_item", {L"add_city", L"Lon", L""}, {}, "add_city Lon"},
        // The usual view over the Atlantic, turned to South America, the nearest continent.
        {L"weather_item", {L"world_view", L"", L""}, {}, "globe 9,319"},
        {L"globe", {L"", L"None", L""}, {}, "globe 9,319"},
        {L"globe", {L"", L"None", L""}, {19, 319}, "globe 19,319"},
        {L"weather_item", {L"city_list", L"", L""}, {}, "city_list"},
        {L"weather_item", {L"2643743", L"London"}, {}, "detailed 2643743|London"},
        {L"weather_item", {L"2643743", L"London", L"x"}, {}, "detailed 2643743|"},
        {L"globe", {L"Globe", L"", L""}, {30, 40}, "globe 30,40"},
        {L"continent_map_content", {L"EU", L"Europe", L""}, {}, "continent EU|Europe"},
        {L"zone_map_content", {L"EU", L"Europe", L"z1"}, {}, "zone EU|Europe|z1"},
        {L"video_player", {L"clip", L"news.mp4", L""}, {}, "video clip|news.mp4"},
        {L"settings_item", {L"terms_condition", L"", L""}, {}, "terms"},
        {L"settings_item", {L"units", L"", L""}, {}, ""},
        {L"nowhere", {L"", L"", L""}, {}, ""},
        {L"news", {L"", L"", L""}, {}, "main"}, // from the terms page: the main page is built again
    };
    built();
    for (const row& r : rows) {
        SCOPED_TRACE(narrow(r.key) + " " + narrow(r.params[0]));
        p().load(r.key, r.params, r.extra);
        EXPECT_EQ(built(), r.built);
    }
    EXPECT_EQ(current(), L"news");
    EXPECT_TRUE(p().contents().opening_requested());
}

TEST_F(pages, loaders_choose_the_first_content_the_tabs_and_the_commands) {
    p().load(L"headlines", {L"Sport", L"", L""}, {});
    EXPECT_EQ(current(), L"Sport");
    EXPECT_EQ(p().commands().left_label(), L"");
    EXPECT_EQ(p().commands().right_label(), L"Back");
    EXPECT_FALSE(p().footer().is_visible());
    EXPECT_EQ(p().navigation().current_index(), 2);
    EXPECT_EQ(p().tickers().get_mode(), zor::ticker_manager::off);
    p().load(L"headlines", {L"Tip-Line", L"", L""}, {});
    EXPECT_EQ(current(), L"Tip-Line");
    EXPECT_EQ(p().commands().left_label(), L"Add");
    p().load(L"headlines", {L"Unknown", L"", L""}, {});
    EXPECT_EQ(current(), L"World");

    // Articles: the headline asked for (the last match), else the first; tabs carry the titles.
    factory->headline_ids = {L"h1", L"h2", L"h2"};
    p().load(L"article", {L"World", L"", L"h2"}, {});
    EXPECT_EQ(p().contents().current_index(), 2);
    EXPECT_EQ(p().navigation().tab_at(0).full_caption(), L"Story h1");
    p().load(L"article", {L"World", L"", L"h9"}, {});
    EXPECT_EQ(p().contents().current_index(), 0);

    p().load(L"continent_map_content", {L"EU", L"Europe", L""}, {});
    EXPECT_EQ(p().navigation().tab_at(0).full_caption(), L"Europe");
    EXPECT_EQ(p().commands().right_label(), L"Back"); // left alone by this loader
    p().draw(*g, true);                               // the opening starts
    p().load(L"video_player", {L"clip", L"a.mp4", L""}, {});
    EXPECT_EQ(p().navigation().tab_at(0).full_caption(), L"ZOR international");
    EXPECT_FALSE(p().contents().opening_requested());
    p().load(L"weather_item", {L"add_city", L"", L""}, {});
    EXPECT_EQ(p().commands().left_label(), L"Search");
    EXPECT_FALSE(p().footer().is_visible());
}

TEST_F(pages, back_walks_the_history_and_does_nothing_when_it_is_empty) {
    p().go_back();
    EXPECT_EQ(built(), "main");
    p().on_link(L"headlines", L"World");
    p().on_request(content_state(L"headlines", L"World", L"", L"h3"));
    EXPECT_EQ(p().get_history().size(), 2u);
    built();
    p().commands().on_key_down(zor::ui::command_bar::soft_key_right); // "Back"
    EXPECT_EQ(built(), "headlines World||");
    p().go_back();
    EXPECT_EQ(built(), "main");
    EXPECT_EQ(current(), L"Home");
    EXPECT_TRUE(p().get_history().empty());

    // A content asking to go back is heard on the next frame.
    p().on_link(L"headlines", L"Sport");
    built();
    p().contents().current_content()->back();
    p().update(now);
    EXPECT_EQ(built(), "main");
}

TEST_F(pages, rotating_rebuilds_the_page_with_the_same_content_and_history) {
    preload();
    // The reader's place rides in the records: the list gone back to and the rebuilt article take it up.
    const auto shown = [&] { return static_cast<test_content*>(p().contents().current_content()); };
    p().on_link(L"headlines", L"World");
    shown()->extra = {4};
    p().on_request(content_state(L"headlines", L"World", L"", L"h2"));
    shown()->extra = {3, 250};
    const auto before = p().get_history();
    ASSERT_EQ(before.size(), 2u);
    page* old = &p();

    // The same orientation changes nothing at all.
    control->resize(RECT{0, 0, 480, 700});
    EXPECT_EQ(&p(), old);
    EXPECT_EQ(p().get_rect(), portrait);

    built();
    control->resize(landscape);
    EXPECT_NE(&p(), old);
    EXPECT_EQ(p().get_rect(), landscape);
    EXPECT_FALSE(cl::ui::resources::is_portrait());
    EXPECT_EQ(built(), "main; article World||h2");
    EXPECT_EQ(p().contents().current_content()->get_state().params[2], L"h2");
    EXPECT_EQ(shown()->resumed, content_state(L"article", L"World", L"", L"h2", {3, 250}));
    EXPECT_EQ(p().get_history(), before);
    EXPECT_EQ(p().contents().get_rect().right, 800);
    // The globe pictures are decoded already: the rebuilt page takes input at once.
    p().update(now);
    EXPECT_TRUE(p().preloading().is_finished());

    p().go_back();
    EXPECT_EQ(built(), "headlines World||");
    EXPECT_EQ(shown()->resumed.extra, std::vector<std::int32_t>{4});
    p().go_back();
    EXPECT_EQ(current(), L"Home");
}

TEST_F(pages, input_waits_for_the_globe_pictures) {
    journal.clear();
    tap(100, 300);
    pen(event::key_down, 0, 0);
    EXPECT_TRUE(journal.empty());
    EXPECT_FALSE(p().contents().is_ready());
    // One picture per drawn frame, more than 500 ms apart: four after 2.5 seconds of 25 ms frames.
    for (int t = 0; t <= 2500; t += 25) {
        p().draw(*g, false);
        p().update(now + t);
        tap(100, 300);
    }
    EXPECT_FALSE(p().preloading().is_finished());
    EXPECT_EQ(p().preloading().loaded_count(), 4);
    EXPECT_TRUE(journal.empty());
    now += 2525;
    preload();
    EXPECT_TRUE(p().contents().is_ready());
    tap(100, 300);
    // The pen itself, then the tap handed over on release.
    EXPECT_EQ(journal, (std::vector<std::string>{"down 100,300 Home", "down 100,300 Home"}));
}

TEST_F(pages, swipes_of_more_than_50_pixels_switch_content_steep_drags_scroll_and_taps_stay_put) {
    preload();
    journal.clear();
    swipe(300, 300, 250, 300); // 50: settles back
    EXPECT_EQ(current(), L"Home");
    EXPECT_EQ(journal, (std::vector<std::string>{"down 300,300 Home"})); // the pen, but no tap
    swipe(300, 300, 249, 300);                                           // 51: next
    EXPECT_EQ(current(), L"news");
    EXPECT_EQ(p().navigation().current_index(), 1);
    swipe(200, 300, 251, 300); // 51 to the right: previous
    EXPECT_EQ(current(), L"Home");
    EXPECT_EQ(p().navigation().current_index(), 0);
    std::vector<std::string> switches;
    for (const auto& line : journal)
        if (line.find("activate") != std::string::npos)
            switches.push_back(line);
    EXPECT_EQ(switches, (std::vector<std::string>{"deactivate Home", "activate news", "deactivate news",
                                                  "activate Home"}));

    // A steep drag scrolls; a tap lands where the finger went down.
    journal.clear();
    pen(event::pen_down, 100, 300);
    pen(event::pen_move, 145, 340); // 27 x 45 <= 40 x 40: vertical
    EXPECT_EQ(p().drag_state(), zor::app::page::drag_direction::vertical);
    pen(event::pen_move, 150, 360);
    pen(event::pen_up, 150, 360);
    EXPECT_EQ(journal, (std::vector<std::string>{"down 100,300 Home", "scroll 40 Home", "scroll 20 Home"}));
    EXPECT_EQ(current(), L"Home");

    journal.clear();
    pen(event::pen_down, 100, 300);
    pen(event::pen_move, 105, 310);
    pen(event::pen_up, 108, 312);
    EXPECT_EQ(journal, (std::vector<std::string>{"down 100,300 Home", "down 100,300 Home"}));

    // A drag that reaches the header ends there; a press on the header starts none.
    journal.clear();
    pen(event::pen_down, 300, 300);
    pen(event::pen_move, 200, 300);
    pen(event::pen_move, 200, 20);
    EXPECT_EQ(current(), L"news");
    EXPECT_EQ(p().drag_state(), zor::app::page::drag_direction::none);
    pen(event::pen_down, 300, 20);
    pen(event::pen_move, 200, 200);
    EXPECT_EQ(p().drag_state(), zor::app::page::drag_direction::none);
}

TEST_F(pages, the_strip_sits_between_the_bars) {
    const RECT header = p().header().get_rect();
    EXPECT_EQ(header, (RECT{0, 0, 480, 56}));
    EXPECT_EQ(p().navigation().get_rect(), (RECT{0, 56, 480, 106}));
    EXPECT_EQ(p().commands().get_rect().bottom, 748);
    EXPECT_EQ(p().footer().get_rect().bottom, p().commands().get_rect().top);
    EXPECT_EQ(p().contents().get_rect(), (RECT{0, 106, 480, p().footer().get_rect().top}));

    p().load(L"headlines", {L"World", L"", L""}, {});
    EXPECT_EQ(p().contents().get_rect(), (RECT{0, header.bottom + 50, 480, p().commands().get_rect().top}));
    p().layout_contents(true);
    EXPECT_EQ(p().contents().get_rect().bottom, p().commands().get_rect().top - 104);
    EXPECT_EQ(p().tickers().get_rect(), (RECT{0, 708 - 104, 480, 708}));
}

TEST_F(pages, taps_on_the_bars_never_reach_the_contents_and_arrows_keys_and_commands_act_instead) {
    preload();
    journal.clear();
    const RECT footer = p().footer().get_rect();
    tap(10, footer.top + 5);
    tap(240, p().commands().get_rect().top + 5);
    tap(240, 80); // navigation bar, between the arrows
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(current(), L"Home");

    // The footer's links open the category's headlines, the logo goes home.
    const auto* sport = p().footer().link_at(0);
    ASSERT_NE(sport, nullptr);
    built();
    tap(sport->area.left + 5, sport->area.top + 5);
    EXPECT_EQ(built(), "headlines " + narrow(sport->name) + "||");
    tap(20, 20);
    EXPECT_EQ(built(), "main");
    EXPECT_EQ(p().get_history().size(), 2u);

    // Arrows and keys switch content.
    control->process_event(event(event::key_down, platform::VK_RIGHT, 0, 0));
    EXPECT_EQ(current(), L"news");
    control->process_event(event(event::key_down, platform::VK_LEFT, 0, 0));
    control->process_event(event(event::key_down, platform::VK_LEFT, 0, 0));
    EXPECT_EQ(current(), L"Home");
    const RECT right = p().navigation().right_arrow_rect();
    tap(right.left + 2, right.top + 10);
    EXPECT_EQ(current(), L"news");
    EXPECT_EQ(p().navigation().current_index(), 1);

    // "Add" away from the citizen report leads to the weather; "Search" to the city list.
    p().load(L"headlines", {L"World", L"", L""}, {});
    built();
    p().commands().set_left_label(L"Add");
    p().commands().on_key_down(zor::ui::command_bar::soft_key_left);
    EXPECT_EQ(built(), "main");
    EXPECT_EQ(current(), L"weather");
    p().commands().set_left_label(L"Search");
    p().commands().on_key_down(zor::ui::command_bar::soft_key_left);
    EXPECT_EQ(built(), "city_list");
}

} // namespace
