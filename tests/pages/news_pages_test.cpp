// The news list and a category's headlines against a content server on loopback, filled by the loading
// thread while the contents are ticked with frame times.
#include "chrome/ticker_manager.h"
#include "model/config.h"
#include "model/model.h"
#include "model/news/article.h"
#include "model/news/category.h"
#include "model/news/headline.h"
#include "model/news/manager.h"
#include "model/options.h"
#include "model/updated_mark.h"
#include "net/held_copies.h"
#include "pages/news/article_content.h"
#include "pages/news/headlines_content.h"
#include "pages/news/home_content.h"
#include "pages/news/news_content.h"
#include "platform/clock.h"
#include "platform/debug_log.h"
#include "platform/text.h"
#include "support/loading_marker.h"
#include "support/log_capture.h"
#include "support/picture_maker.h"
#include "support/served_fixture.h"
#include "ui/expanded_block.h"
#include "ui/graphics.h"
#include "ui/list_box_item.h"
#include "ui/resources.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

using platform::RECT;
using zor::content_state;

std::string doc(const std::vector<std::string>& ids) {
    std::string d = "<newsheadline timestamp=\"20261201T100000\">";
    for (const auto& id : ids)
        d += "<headline id=\"" + id + "\" timestamp=\"1\"><text>Story " + id + "</text><image url=\"/p/" +
             id + ".png\"/></headline>";
    return d + "</newsheadline>";
}

class news_pages : public served_fixture {
protected:
    void SetUp() override {
        served_fixture::SetUp();
        auto picture = encode_png(120, 90, solid_rgba(120, 90, 30, 90, 160, 255));
        for (const char* id : {"w1", "w2", "s1", "f1", "f2"})
            server.add_route(std::string("/p/") + id + ".png", std::string(picture.begin(), picture.end()));
        server.add_route("/news/world", doc({"w1", "w2"}));
        server.add_route("/news/sport", doc({"s1"}));
        server.add_route("/news/sport/football", doc({"f1", "f2"}));
        server.add_route("/news/sport/tennis", "<newsheadline"); // never loads
        server.add_route("/news/empty", doc({}));
        server.add_route("/news/broken", "not a document");
        start("<news><headline pict_width=\"120\" pict_height=\"90\"/><video url=\"/video\"/><categories>"
              "<category name=\"World\" url=\"/news/world\" color=\"200,0,0\"/>"
              "<category name=\"Sport\" url=\"/news/sport\" color=\"0,0,200\">"
              "<subcategory name=\"Football\" url=\"/news/sport/football\" color=\"0,0,200\"/>"
              "<subcategory name=\"Tennis\" url=\"/news/sport/tennis\" color=\"0,0,200\"/></category>"
              "<category name=\"Empty\" url=\"/news/empty\" color=\"0,0,0\"/>"
              "<category name=\"Broken\" url=\"/news/broken\" color=\"0,0,0\"/>"
              "</categories><article pict_width=\"440\" pict_height=\"330\"/></news>");
    }
};

TEST_F(news_pages, the_news_list_names_every_category_and_ends_with_the_citizen_report) {
    zor::news_content news;
    listen(news);
    news.set_rect(RECT{0, 106, 480, 658});
    EXPECT_FALSE(news.is_loaded());
    news.update(now);
    ASSERT_TRUE(news.is_loaded());
    EXPECT_EQ(keys(news.rows()),
              (std::vector<std::wstring>{L"World", L"Sport", L"Empty", L"Broken", L"Tip-Line"}));
    EXPECT_EQ(news.get_rect().left, 4);
    tap(news, 100, news.rows().find_item(L"Sport")->get_rect().top + 10);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], content_state(L"news", L"Sport"));
}

TEST_F(news_pages, headlines_come_with_their_pictures_and_sub_categories_open_and_load_at_a_tap) {
    zor::headlines_content sport(L"Sport", L"", L"", 0xC80000);
    listen(sport);
    sport.set_rect(RECT{0, 106, 480, 708});
    EXPECT_FALSE(sport.is_loaded());
    ASSERT_TRUE(frames_until(sport, [&] { return sport.is_loaded(); }));
    // Each sub-category is a closed header with its placeholder; neither is asked for before a tap.
    frames(sport, 40);
    EXPECT_EQ(requests_for("/news/sport/football"), 0);
    EXPECT_EQ(requests_for("/news/sport/tennis"), 0);
    EXPECT_EQ(keys(sport.rows()),
              (std::vector<std::wstring>{L"s1", L":Football", L"  :Football", L"  &:Football-loading",
                                         L":Tennis", L"  :Tennis", L"  &:Tennis-loading"}));
    const auto* row = sport.rows().find_item(L"s1");
    EXPECT_GE(row->bottom() - row->top(), 100); // the 120 x 90 thumbnail and its margins
    auto* football = dynamic_cast<cl::ui::expanded_block*>(sport.rows().find_item(L":Football"));
    auto* tennis = dynamic_cast<cl::ui::expanded_block*>(sport.rows().find_item(L":Tennis"));
    ASSERT_TRUE(football && tennis);
    EXPECT_FALSE(football->is_expanded());
    auto* waiting = dynamic_cast<cl::ui::list_box_item*>(sport.rows().find_item(L"&:Football-loading"));
    ASSERT_TRUE(waiting);
    EXPECT_FALSE(waiting->is_visible());
    EXPECT_EQ(waiting->caption(), L"Loading...");
    // Indented by 20 pixels from where a row's text starts.
    EXPECT_EQ(waiting->caption_rect().left - waiting->get_rect().left, 10 + 20);

    auto open = [&](cl::ui::expanded_block* block) {
        const RECT h = block->header().get_rect();
        tap(sport, 200, (h.top + h.bottom) / 2 + static_cast<int>(sport.rows().offset()));
    };
    open(football);
    EXPECT_TRUE(football->is_expanded());
    EXPECT_TRUE(waiting->is_visible());
    ASSERT_TRUE(frames_until(sport, [&] { return sport.rows().find_item(L"Football&f2") != nullptr; }));
    EXPECT_EQ(requests_for("/news/sport/football"), 1);
    EXPECT_EQ(requests_for("/news/sport/tennis"), 0);
    EXPECT_EQ(keys(sport.rows()),
              (std::vector<std::wstring>{L"s1", L":Football", L"  :Football", L"  Football&f1",
                                         L"  Football&f2", L":Tennis", L"  :Tennis", L"  &:Tennis-loading"}));
    EXPECT_TRUE(sport.rows().find_item(L"Football&f1")->is_visible());
    EXPECT_EQ(football->bottom(), sport.rows().find_item(L"Football&f2")->bottom());
    EXPECT_GT(tennis->top(), football->bottom());
    EXPECT_EQ(football->get_rect().bottom, football->bottom()); // what takes its taps ends there too
    // Tennis never loads and keeps its placeholder; a second tap closes Football without asking again.
    open(tennis);
    ASSERT_TRUE(frames_until(sport, [&] { return requests_for("/news/sport/tennis") == 1; })) << [&] {
        std::string all;
        for (const auto& t : server.targets())
            all += t + " ";
        return all + " tennis expanded " + std::to_string(tennis->is_expanded());
    }();
    EXPECT_TRUE(sport.rows().find_item(L"&:Tennis-loading")->is_visible());
    open(football);
    EXPECT_FALSE(football->is_expanded());
    EXPECT_FALSE(sport.rows().find_item(L"Football&f1")->is_visible());
    EXPECT_EQ(requests_for("/news/sport/football"), 1);

    sport.select(L"s1");
    sport.select(L"Football&f2");
    sport.select(L"&:Tennis-loading");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], content_state(L"headlines", L"Sport", L"", L"s1"));
    EXPECT_EQ(asked[1], content_state(L"headlines", L"Sport", L"Football", L"f2"));

    // A loaded group is not asked for again; a failed one is.
    const int before = requests_for("/news/sport/tennis");
    sport.select(L":Football");
    frames(sport, 20);
    EXPECT_EQ(requests_for("/news/sport/football"), 1);
    ASSERT_TRUE(frames_until(sport, [&] {
        sport.select(L":Tennis");
        return requests_for("/news/sport/tennis") > before;
    }));

    // Back to this content, the history knows the row that had the focus.
    sport.rows().focus_item(L":Football");
    football->focus_item(L"Football&f1");
    sport.rows().focus_item(L"Football&f1");
    EXPECT_EQ(sport.get_state(), content_state(L"headlines", L"Sport", L"Football", L"f1"));
}

TEST_F(news_pages, an_empty_category_is_shown_and_a_broken_one_reports_failure) {
    zor::headlines_content empty(L"Empty", L"", L"", 0);
    zor::headlines_content broken(L"Broken", L"", L"", 0);
    zor::headlines_content missing(L"Nowhere", L"", L"", 0);
    ASSERT_TRUE(frames_until(empty, [&] { return empty.is_loaded(); }));
    EXPECT_EQ(empty.rows().item_count(), 0);
    EXPECT_FALSE(empty.is_failed());
    ASSERT_TRUE(frames_until(broken, [&] { return broken.is_failed(); }));
    EXPECT_FALSE(broken.is_loaded());
    // Asked for again a minute later.
    expect_asked_again_after(broken, "/news/broken", 1600, 1000);
    EXPECT_EQ(requests_for("/news/broken"), 2);
    EXPECT_TRUE(broken.is_failed());
    frames(missing, 10);
    EXPECT_FALSE(missing.is_loaded());
    EXPECT_FALSE(missing.is_failed());
}

// A category whose reload fails keeps its last good copy on the page, over a row that says how old it is; the
// network's next good answer takes the row away.
TEST_F(news_pages, a_failed_reload_shows_the_held_copy_with_its_age_until_the_network_answers) {
    temp_folder copies;
    cl::http::keep_copies_in(copies.file("zor"));
    std::atomic<bool> broken{false}; // read by the server's thread
    server.add_handler("/news/world", [&](const std::string&) {
        return broken ? http_response(500, "<html>down</html>")
                      : http_response(200, doc({"w1", "w2"}), "ETag: \"w\"\r\n");
    });
    zor::headlines_content world(L"World", L"", L"", 0);
    ASSERT_TRUE(frames_until(world, [&] { return world.is_loaded(); }));
    EXPECT_EQ(keys(world.rows()), (std::vector<std::wstring>{L"w1", L"w2"}));
    auto category = zor::model::news_manager()->find_category(L"World", L"");
    // A category still queued is not queued again: each reload waits for the one before to end.
    const auto reload = [&] {
        ASSERT_TRUE(frames_until(world, [&] { return !category->is_queued(); }));
        zor::model::load(category);
    };
    broken = true;
    reload();
    ASSERT_TRUE(frames_until(world, [&] { return world.rows().find_item(L"&updated") != nullptr; }));
    EXPECT_EQ(keys(world.rows()), (std::vector<std::wstring>{L"&updated", L"w1", L"w2"}));
    const auto* mark = dynamic_cast<const cl::ui::list_box_item*>(world.rows().find_item(L"&updated"));
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->note(), zor::updated_mark(category->copy_time()));
    EXPECT_EQ(mark->note().rfind(L"Updated ", 0), 0u);
    EXPECT_FALSE(world.is_failed());
    broken = false;
    reload();
    EXPECT_TRUE(frames_until(world, [&] { return world.rows().find_item(L"&updated") == nullptr; }));
    // The answer is kept after the page took it: the copies folder must outlive that.
    EXPECT_TRUE(loading_marker::loads_done(*zor::model::loading_manager()));
    cl::http::keep_copies_in("");
}

// A turn rebuilds the page at another width, and back rebuilds the list left: the list opens again at the row
// that was at the top of the view, or as near as its end allows.
TEST_F(news_pages, a_list_rebuilt_from_its_state_opens_at_the_row_that_was_at_the_top) {
    std::vector<std::string> ids;
    for (int i = 1; i <= 12; ++i)
        ids.push_back("w" + std::to_string(i));
    server.add_route("/news/world", doc(ids));
    const auto shown = [&](zor::headlines_content& list, const RECT& r, const content_state* kept) {
        list.set_rect(r);
        if (kept)
            list.resume(*kept);
        return frames_until(list, [&] { return list.is_loaded(); });
    };
    zor::headlines_content portrait_list(L"World", L"", L"", 0);
    ASSERT_TRUE(shown(portrait_list, RECT{0, 106, 480, 708}, nullptr));
    EXPECT_TRUE(portrait_list.get_state().extra.empty());
    portrait_list.scroll_y(-700);
    const auto top = portrait_list.rows().top_place();
    ASSERT_GT(top.row, 2);
    const content_state kept = portrait_list.get_state();
    ASSERT_EQ(kept.extra, (std::vector<std::int32_t>{top.row, top.into}));

    // The rows are shorter at the other width: as far into the same row.
    zor::headlines_content landscape_list(L"World", L"", L"", 0);
    ASSERT_TRUE(shown(landscape_list, RECT{0, 106, 800, 388}, &kept));
    EXPECT_EQ(landscape_list.rows().top_place().row, top.row);
    EXPECT_NEAR(landscape_list.rows().top_place().into, top.into, 20);

    // The last row cannot come to the top: the list ends at the bottom of the view.
    content_state last = kept;
    last.extra = {11};
    zor::headlines_content at_end(L"World", L"", L"", 0);
    ASSERT_TRUE(shown(at_end, RECT{0, 106, 480, 708}, &last));
    const auto& bottom = *at_end.rows().items().back();
    EXPECT_EQ(bottom.bottom() + at_end.rows().gap() + at_end.rows().target(), 708);
}

class home_page : public news_pages {
protected:
    // Ticks the categories with these numbers (1 = World, 2 = Sport, 3 = Empty, 4 = Broken).
    zor::options* ticked(std::initializer_list<int> numbers) {
        zor::options& o = zor::options::load_from(folder.wpath());
        o.settings_map().clear();
        for (int n : numbers)
            o.flag(L"2." + std::to_wstring(n)) = true;
        return &o;
    }
};

TEST_F(home_page, portrait_sections_show_two_headlines_between_the_shortcuts_in_settings_order) {
    server.add_route("/news/world", doc({"w1", "w2", "w3"}));
    zor::home_content home(ticked({1, 2, 3}), nullptr);
    listen(home);
    home.set_rect(RECT{0, 106, 480, 708});
    ASSERT_TRUE(frames_until(home, [&] { return home.rows().item_count() == 6; }));
    // The news clip named in config.xml closes the page.
    EXPECT_EQ(keys(home.rows()),
              (std::vector<std::wstring>{L"World", L"  World::w1", L"  World::w2", L"Tip-Line", L"Sport",
                                         L"  Sport::s1", L"weather", L"Empty", L"video"}));
    // The shortcut rows are their pictures, the list's width less its margins.
    const RECT tip = home.rows().find_item(L"Tip-Line")->get_rect();
    EXPECT_EQ(tip.bottom - tip.top, 66);

    home.select(L"World::w2");
    home.select(L"weather");
    home.select(L"Tip-Line");
    home.select(L"World");
    home.select(L"video");
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[0], content_state(L"home_article", L"World", L"", L"w2"));
    EXPECT_EQ(asked[1], content_state(L"home_weather", L"weather"));
    EXPECT_EQ(asked[2], content_state(L"home_tipline", L"Tip-Line"));
    EXPECT_EQ(asked[3], content_state(L"video_player", L"video", L"http://" + server.host() + L"/video"));

    // A category that changes is shown anew in its place at the next minute's pass.
    log_capture log;
    server.add_route("/news/world", "<newsheadline timestamp=\"20261202T100000\"><headline id=\"w9\" "
                                    "timestamp=\"1\"><text>Later</text></headline></newsheadline>");
    auto world = zor::model::news_manager()->categories()[0];
    zor::model::load(world);
    ASSERT_TRUE(frames_until(
        home, [&] { return home.rows().find_item(L"World::w9") != nullptr; }, 4000));
    EXPECT_EQ(keys(home.rows()), (std::vector<std::wstring>{L"World", L"  World::w9", L"Tip-Line", L"Sport",
                                                            L"  Sport::s1", L"weather", L"Empty", L"video"}));
    EXPECT_TRUE(log.contains("Category refreshed: World"));
}

// After a turn the home page opens at the section that was at the top, though its shortcut rows became tiles;
// a category that fails does not hold it back.
TEST_F(home_page, a_turned_home_page_opens_at_the_section_that_was_at_the_top) {
    zor::options* settings = ticked({1, 2, 3, 4});
    zor::home_content portrait(settings, nullptr);
    portrait.set_rect(RECT{0, 106, 480, 500}); // short enough to scroll Sport to the top
    ASSERT_TRUE(frames_until(portrait, [&] { return portrait.rows().item_count() == 6; }));
    EXPECT_TRUE(portrait.get_state().extra.empty());
    const auto& sport = *portrait.rows().find_item(L"Sport");
    portrait.scroll_y(106 - (sport.top() - portrait.rows().gap()));
    ASSERT_EQ(portrait.rows().items()[portrait.rows().top_row()]->key(), L"Sport");
    const content_state kept = portrait.get_state();
    EXPECT_EQ(kept.extra, std::vector<std::int32_t>{1}); // World is above; Tip-Line is a tile in landscape

    zor::home_content landscape(settings, nullptr);
    landscape.set_rect(RECT{0, 106, 800, 388});
    landscape.resume(kept);
    ASSERT_TRUE(frames_until(landscape, [&] { return landscape.rows().find_item(L"Empty") != nullptr; }));
    frames(landscape, 5);
    EXPECT_EQ(landscape.rows().items()[landscape.rows().top_row()]->key(), L"Sport");
}

TEST_F(home_page, the_last_section_can_be_scrolled_above_the_tickers_drawn_over_the_list) {
    server.add_route("/news/world", doc({"w1", "w2", "w3"}));
    zor::ticker_manager tickers;
    tickers.set_rect(RECT{0, 500, 480, 604});
    tickers.set_mode(zor::ticker_manager::news_and_adverts);
    zor::options* settings = ticked({1, 2, 3, 4});
    zor::home_content home(settings, &tickers);
    home.set_rect(RECT{0, 106, 480, 604});
    home.activate();
    ASSERT_TRUE(frames_until(home, [&] { return home.rows().item_count() == 6; }));
    home.scroll_y(-100000);
    frames(home, 200);
    const int last = home.rows().items().back()->bottom() + static_cast<int>(home.rows().offset());
    EXPECT_LE(last, 500);
    EXPECT_GT(last, 480);
    // Opened again there, as after a turn, it is not cut short by the end the tickers cover.
    zor::home_content again(settings, &tickers);
    again.set_rect(RECT{0, 106, 480, 604});
    again.resume(home.get_state());
    again.activate();
    ASSERT_TRUE(frames_until(again, [&] { return again.rows().item_count() == 6; }));
    EXPECT_EQ(again.rows().target(), home.rows().target());
    // Without the tickers the list ends at its own bottom.
    home.deactivate();
    home.scroll_y(-100000);
    frames(home, 200);
    EXPECT_GT(home.rows().items().back()->bottom() + static_cast<int>(home.rows().offset()), 580);
}

TEST_F(home_page, landscape_keeps_the_shortcuts_in_a_column_of_tiles_that_answer_taps) {
    cl::ui::resources::set_portrait(false);
    zor::home_content home(ticked({1, 2, 3}), nullptr);
    listen(home);
    home.set_rect(RECT{0, 106, 640, 406});
    EXPECT_EQ(home.rows().get_rect().right - home.rows().get_rect().left, 320);
    // Sections keep the settings' order whichever category the loading thread serves first.
    ASSERT_TRUE(frames_until(home, [&] { return home.rows().item_count() == 4; }));
    EXPECT_EQ(keys(home.rows()), (std::vector<std::wstring>{L"World", L"  World::w1", L"  World::w2",
                                                            L"Sport", L"  Sport::s1", L"Empty", L"video"}));
    const RECT weather = home.weather_tile_rect(), tip = home.tipline_tile_rect();
    EXPECT_EQ(weather.left, home.rows().get_rect().right + 5);
    EXPECT_EQ(weather.top, 108);
    EXPECT_EQ(tip.top, weather.bottom + 2);

    tap(home, weather.left + 20, weather.top + 20, 10); // slid away: nothing
    EXPECT_TRUE(asked.empty());
    tap(home, weather.left + 20, weather.top + 20, 9);
    tap(home, tip.left + 20, tip.top + 20);
    tap(home, tip.left + 20, tip.bottom + 20); // under the tiles
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], content_state(L"home_weather", L"weather"));
    EXPECT_EQ(asked[1], content_state(L"home_tipline", L"Tip-Line"));

    clear(0);
    home.draw(*g, true);
    EXPECT_NE(pixel(weather.left + 150, weather.top + 45), 0);
    EXPECT_NE(pixel(tip.left + 150, tip.top + 45), 0);

    // Landscape without the tiles' pictures: the shortcuts come as rows, alone without ticked categories;
    // a reset follows the settings.
    cl::ui::resources::set_portrait(true);
    zor::options* settings = ticked({});
    zor::home_content bare(settings, nullptr);
    bare.set_rect(RECT{0, 106, 640, 406});
    frames(bare, 40);
    EXPECT_EQ(keys(bare.rows()), (std::vector<std::wstring>{L"Tip-Line", L"weather", L"video"}));
    settings->flag(L"2.2") = true;
    bare.reset();
    ASSERT_TRUE(frames_until(bare, [&] { return bare.rows().item_count() == 4; }));
    EXPECT_EQ(keys(bare.rows()),
              (std::vector<std::wstring>{L"Sport", L"  Sport::s1", L"Tip-Line", L"weather", L"video"}));
}

std::string article(const std::string& picture, int paragraphs) {
    std::string d = "<article><datacontent><image url=\"/i/big.png\"/><thumbnail url=\"" + picture +
                    "\"/></datacontent><location>Lisbon</location><text>";
    for (int i = 0; i < paragraphs; ++i)
        d += "<paragraph>Harbour cities agreed on a shared plan for tidal barriers along the coast, with "
             "studies, tenders and yearly reports.</paragraph>";
    return d + "</text></article>";
}

class articles : public news_pages {
protected:
    void SetUp() override {
        news_pages::SetUp();
        auto small = encode_png(200, 150, solid_rgba(200, 150, 10, 200, 10, 255));
        auto big = encode_png(444, 444, solid_rgba(444, 444, 200, 10, 10, 255));
        auto smaller = encode_png(294, 294, solid_rgba(294, 294, 200, 10, 10, 255));
        server.add_route("/i/small.png", std::string(small.begin(), small.end()));
        server.add_route("/i/444.png", std::string(big.begin(), big.end()));
        server.add_route("/i/294.png", std::string(smaller.begin(), smaller.end()));
        server.add_route("/news/world?itemid=w1&width=440&height=330", article("/i/small.png", 12));
        server.add_route("/news/world?itemid=w1&width=444&height=444", article("/i/444.png", 1));
        server.add_route("/news/world?itemid=w1&width=294&height=294", article("/i/294.png", 1));
        server.add_route("/news/world?itemid=w2&width=440&height=330", "<article");
        world = zor::model::news_manager()->categories()[0];
        zor::model::load(world);
    }
    // How far the headline over the text moves the picture and the text down.
    static int heading_shift(zor::article_content& story) {
        auto& view = story.article_view();
        return view.pieces().empty() ? 0 : view.pieces()[0]->get_rect().bottom - view.text_area().top;
    }
    boost::shared_ptr<news::category> world;
};

TEST_F(articles,
       an_article_fills_its_view_scrolls_its_picture_opens_the_enlarged_page_and_a_failed_one_waits) {
    zor::article_content story(L"World", L"", L"w1", nullptr);
    listen(story);
    story.set_rect(RECT{0, 106, 480, 708});
    EXPECT_FALSE(story.is_loaded());
    ASSERT_TRUE(frames_until(story, [&] { return story.is_loaded(); }));
    EXPECT_FALSE(story.has_error());
    auto& view = story.article_view();
    ASSERT_FALSE(view.pieces().empty());
    // The headline first, then lines beside the picture, the rest at full width under it.
    EXPECT_EQ(view.pieces()[1]->get_rect().left, view.text_area().left + 212);
    EXPECT_EQ(view.pieces().back()->get_rect().left, view.text_area().left + 6);
    ASSERT_TRUE(view.is_scrollable());
    story.scroll_y(-100000);
    EXPECT_EQ(view.scroll_offset(), (view.text_area().bottom - 6) - view.pieces().back()->get_rect().bottom);
    story.scroll_y(100000);
    EXPECT_EQ(view.scroll_offset(), 0);

    // Only a tap on the picture opens it: a swipe or a drag that ends there does not.
    auto pen = [&](int x0, int y0, int x1, int y1) {
        story.process_event(cl::app::event(cl::app::event::pen_down, 0, x0, y0));
        story.process_event(cl::app::event(cl::app::event::pen_move, 0, x1, y1));
        story.process_event(cl::app::event(cl::app::event::pen_up, 0, x1, y1));
    };
    pen(400, 600, 100, 200); // a swipe from the text onto the picture
    pen(100, 250, 100, 200); // a drag across the picture
    pen(60, 200, 150, 200);  // a sideways swipe over it
    story.process_event(cl::app::event(cl::app::event::pen_up, 0, 100, 200)); // a lift without a press
    EXPECT_TRUE(asked.empty());
    pen(100, 200, 109, 191); // nine pixels away: still a tap
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], content_state(L"article", L"World", L"", L"w1"));
    pen(400, 600, 400, 600); // a tap on the text
    EXPECT_EQ(asked.size(), 1u);

    // A failed article shows the error view and is asked for again later.
    zor::article_content failed(L"World", L"", L"w2", nullptr);
    failed.set_rect(RECT{0, 106, 480, 708});
    ASSERT_TRUE(frames_until(failed, [&] { return failed.is_loaded(); }));
    EXPECT_TRUE(failed.has_error());
    const int before = requests_for("/news/world?itemid=w2");
    frames(failed, 400); // 10 s
    EXPECT_EQ(requests_for("/news/world?itemid=w2"), before);
    server.add_route("/news/world?itemid=w2&width=440&height=330", article("/i/small.png", 1));
    EXPECT_TRUE(frames_until(
        failed, [&] { return !failed.has_error(); }, 2000));
}

TEST_F(articles, the_headline_heads_the_text_whose_last_line_comes_above_the_advert_in_both_orientations) {
    zor::ticker_manager tickers;
    zor::article_content story(L"World", L"", L"w1", &tickers);
    // As the page does: once the advert shows, the article gets the page less the advert's 104 pixels.
    RECT page_area, area;
    story.layout_changed.connect(utils::function0<void>([&] {
        area = page_area;
        if (tickers.is_shown())
            area.bottom -= 104;
        story.set_rect(area);
        story.layout();
    }));
    for (const RECT whole : {RECT{0, 106, 480, 708}, RECT{0, 106, 800, 388}}) {
        SCOPED_TRACE(whole.right);
        page_area = whole;
        story.layout_changed();
        ASSERT_TRUE(frames_until(story, [&] { return story.is_loaded(); }));
        ASSERT_EQ(area.bottom, whole.bottom - 104);
        auto& view = story.article_view();
        ASSERT_GT(view.pieces().size(), 2u);
        // The headline across the top, the picture's column starting under it.
        const auto& heading = *view.pieces()[0];
        EXPECT_EQ(heading.get_text(), L"Story w1");
        EXPECT_EQ(heading.get_rect().left, view.text_area().left + 6);
        EXPECT_EQ(heading.get_rect().top, view.text_area().top + 6);
        EXPECT_EQ(view.pieces()[1]->get_rect().left, view.text_area().left + 212);
        EXPECT_GT(view.pieces()[1]->get_rect().top, heading.get_rect().bottom);

        story.scroll_y(-100000);
        frames(story, 200);
        EXPECT_LE(view.pieces().back()->get_rect().bottom + view.scroll_offset(), area.bottom);
        clear(0x1234);
        story.draw(*g, true);
        EXPECT_EQ(changed_outside(area, 0x1234), 0);
    }
}

// The text laid out at another width, after a turn or back from the picture, opens at the paragraph the
// reader was in, and as far into it; at the top of the article nothing is kept.
TEST_F(articles, an_article_rebuilt_from_its_state_opens_where_the_reader_was) {
    const auto shown = [&](zor::article_content& story, const RECT& r, const content_state& kept) {
        story.set_rect(r);
        story.resume(kept);
        return frames_until(story, [&] { return story.is_loaded(); });
    };
    const RECT portrait{0, 106, 480, 708}, landscape{0, 106, 800, 388};
    zor::article_content first(L"World", L"", L"w1", nullptr);
    ASSERT_TRUE(shown(first, portrait, content_state()));
    EXPECT_TRUE(first.get_state().extra.empty());
    auto& view = first.article_view();
    // At every depth, a paragraph beside the picture and under it too, the place leads back to the same
    // offset.
    const int range = view.pieces().back()->get_rect().bottom - view.text_area().bottom;
    for (int depth = 7; depth < range; depth += 7) {
        first.scroll_y(-view.scroll_offset() - depth);
        const int offset = view.scroll_offset();
        view.go_to(view.reading_place());
        EXPECT_NEAR(view.scroll_offset(), offset, 1) << depth;
    }
    first.scroll_y(-view.scroll_offset() - range / 2);
    const content_state kept = first.get_state();
    ASSERT_EQ(kept.extra.size(), 2u);
    EXPECT_GT(kept.extra[0], 0);
    EXPECT_GE(kept.extra[1], 0);
    EXPECT_LT(kept.extra[1], 1000);

    zor::article_content turned(L"World", L"", L"w1", nullptr);
    ASSERT_TRUE(shown(turned, landscape, kept));
    EXPECT_NE(turned.article_view().scroll_offset(), 0);
    EXPECT_EQ(turned.article_view().reading_place().paragraph, kept.extra[0]);
    // Turned back, the text is where the reader left it, within a line.
    zor::article_content back(L"World", L"", L"w1", nullptr);
    ASSERT_TRUE(shown(back, portrait, turned.get_state()));
    EXPECT_NEAR(back.article_view().scroll_offset(), view.scroll_offset(), 30);

    // At its end, laid out wider, the text is drawn at its new end at once, not left above a blank band.
    back.scroll_y(-100000);
    frames(back, 200);
    back.set_rect(RECT{0, 106, 800, 708});
    back.layout();
    clear(0x1234);
    back.draw(*g, true);
    const RECT area = back.article_view().text_area();
    EXPECT_LT(count(RECT{area.left, area.bottom - 40, area.right - 20, area.bottom - 6}, 0xFFFF),
              (area.right - 20 - area.left) * 34);
}

TEST_F(articles, the_picture_turns_its_wait_icon_while_it_loads_and_once_shown_the_article_stays_quiet) {
    server.hold("/i/small.png");
    zor::article_content story(L"World", L"", L"w1", nullptr);
    story.set_rect(RECT{0, 106, 480, 708});
    ASSERT_TRUE(frames_until(story, [&] { return story.is_loaded(); }));
    ASSERT_TRUE(server.wait_until_held("/i/small.png"));
    // The 200 x 200 picture box at the text area's left (4 + 6), 6 pixels under the headline.
    const RECT box{10, 112 + heading_shift(story), 210, 312 + heading_shift(story)};
    frames(story, 8);
    story.draw(*g, true);
    const int grey_then = (box.right - box.left) * (box.bottom - box.top) - count(box, 0xFFFF);
    EXPECT_GT(grey_then, 0); // the wait icon's cells
    std::vector<std::uint16_t> before(g->back_buffer(), g->back_buffer() + 800 * 800);
    frames(story, 4);
    story.draw(*g, false);
    EXPECT_FALSE(std::equal(before.begin(), before.end(), g->back_buffer())); // it turned

    auto h = zor::model::news_manager()->find_headline(L"World", L"", L"w1");
    boost::shared_ptr<cl::ui::async_picture> thumbnail;
    {
        news::article_lock lock(h);
        ASSERT_TRUE(lock.article());
        thumbnail = lock.article()->thumbnail();
    }
    ASSERT_TRUE(thumbnail);
    server.release("/i/small.png");
    ASSERT_TRUE(frames_until(story, [&] { return thumbnail->is_loaded(); }));
    int dirty_frames = 0;
    for (int i = 0; i < 40; ++i) {
        story.update(now);
        now += 25;
        dirty_frames += story.is_dirty() ? 1 : 0;
        story.draw(*g, false);
    }
    EXPECT_LE(dirty_frames, 1);
    // The 200 x 150 picture, centred in its box.
    EXPECT_EQ(pixel(110, 212 + heading_shift(story)), ui_impl::to_rgb565(0x0AC80A));
    EXPECT_EQ(pixel(110, 130 + heading_shift(story)), 0xFFFF);
}

TEST_F(articles, the_enlarged_picture_comes_at_the_size_of_the_area_and_again_when_that_changes) {
    ASSERT_TRUE(frames_until(*this, [&] { return world->is_loaded(); }));
    auto h = zor::model::news_manager()->find_headline(L"World", L"", L"w1");
    ASSERT_TRUE(h);
    zor::model::load(h);
    ASSERT_TRUE(frames_until(*this, [&] { return h->is_loaded(); }));

    zor::attach_content big(L"World", L"", L"w1");
    std::vector<int> backs;
    big.back.connect(utils::function0<void>([&] { backs.push_back(1); }));
    big.set_rect(RECT{0, 106, 480, 708}); // 450 x 572 inside the margins: a 444 square
    EXPECT_EQ(big.side(), 444);
    ASSERT_TRUE(frames_until(big, [&] { return big.is_loaded(); }));
    clear(0);
    big.draw(*g, true);
    EXPECT_EQ(pixel(240, 400), ui_impl::to_rgb565(0x0A0AC8)); // red 200, green 10, blue 10
    big.on_pen_up(platform::POINT{5, 400});                   // in the margin
    big.on_pen_up(platform::POINT{240, 400});
    EXPECT_EQ(backs.size(), 1u);

    // Turned to a wider, lower area, the square shrinks and the picture is fetched again.
    zor::attach_content turned(L"World", L"", L"w1");
    turned.set_rect(RECT{0, 106, 800, 436}); // 770 x 300: a 294 square
    ASSERT_TRUE(frames_until(turned, [&] { return turned.is_loaded(); }));
    EXPECT_EQ(requests_for("/i/294.png"), 1);
}

} // namespace
