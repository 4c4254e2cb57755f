// The weather page, the city search results, the add-city page and the detailed forecast against weather
// documents served on loopback, filled by the loading thread while the contents are ticked with frame times.
#include "chrome/command_bar.h"
#include "model/config.h"
#include "model/model.h"
#include "model/options.h"
#include "model/weather/manager.h"
#include "model/weather/units.h"
#include "pages/weather/add_city_content.h"
#include "pages/weather/city_list_content.h"
#include "pages/weather/detailed_weather_content.h"
#include "pages/weather/detailed_weather_list_box_item.h"
#include "pages/weather/weather_content.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "platform/window_system.h"
#include "support/served_fixture.h"
#include "ui/edit_box.h"
#include "ui/graphics.h"
#include "ui/list_box_item.h"
#include "ui/resources.h"

#include <algorithm>
#include <ctime>
#include <memory>

namespace {

using platform::RECT;
using zor::content_state;

const RECT portrait{0, 106, 480, 658};

std::string day(const std::string& date, int t_min, int t_max) {
    return "<Day><date>" + date +
           "</date><precipitationdesc>Light rain</precipitationdesc><skydescription>"
           "Cloudy</skydescription><tmin>" +
           std::to_string(t_min) + "</tmin><tmax>" + std::to_string(t_max) +
           "</tmax><windspeed>36</windspeed><icon>13</icon><airquality>14</airquality><uvindex>5</uvindex></"
           "Day>";
}

std::string forecast(const std::vector<std::string>& dates) {
    std::string d = "<WeatherDetails><City>";
    for (std::size_t i = 0; i < dates.size(); ++i)
        d += day(dates[i], -3 + static_cast<int>(i), 12 + static_cast<int>(i));
    return d + "</City></WeatherDetails>";
}

const std::vector<std::string> six_days = {"2026-12-06", "2026-12-07", "2026-12-08",
                                           "2026-12-09", "2026-12-10", "2026-12-11"};

std::wstring weekday_from_today(int days) {
    std::time_t t = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&t, &utc);
    return zor::units::weekday_name((utc.tm_wday + days) % 7);
}

class weather_pages : public served_fixture {
protected:
    void SetUp() override {
        served_fixture::SetUp();
        server.add_route("/zorweather?requestcity=101", forecast(six_days));
        server.add_route("/zorweather?requestcity=102", forecast(six_days));
        start(weather_here());
    }
    // The user's cities, in this order.
    zor::options* cities(const std::vector<std::pair<std::wstring, std::wstring>>& list) {
        zor::options& o = zor::options::load_from(folder.wpath());
        o.cities().clear();
        o.order().clear();
        for (const auto& c : list) {
            o.cities()[c.first] = c.second;
            o.order().push_back(c.first);
        }
        return &o;
    }
    // Search results for the text, placed and listened to.
    std::unique_ptr<zor::city_list_content> search(const wchar_t* text, zor::options* opts) {
        auto found = std::make_unique<zor::city_list_content>(text, opts, &commands);
        listen(*found);
        found->set_rect(portrait);
        return found;
    }
    const cl::ui::weather_list_box_item& day_row(zor::weather_content& w, const std::wstring& key, int i) {
        return *w.container(key)->days.at(i);
    }

    zor::ui::command_bar commands;
};

TEST_F(weather_pages, the_selector_holds_the_fixed_items_then_the_users_cities_and_a_city_shows_its_days) {
    zor::weather_content bare(cities({}), &commands);
    bare.update(now);
    ASSERT_TRUE(bare.is_loaded());
    EXPECT_EQ(keys(bare.items()), (std::vector<std::wstring>{L"world_view", L"add_city"}));

    zor::weather_content w(cities({{L"102", L"Oslo"}, {L"101", L"Lisbon"}}), &commands);
    listen(w);
    w.set_rect(portrait);
    w.activate();
    w.update(now);
    EXPECT_EQ(keys(w.items()), (std::vector<std::wstring>{L"world_view", L"add_city", L"102", L"101"}));
    EXPECT_EQ(w.current_key(), L"world_view");
    EXPECT_EQ(commands.left_label(), L"");
    // The rows stand right of the 300-pixel selector, the world view's pictures first.
    EXPECT_EQ(w.row(0).get_rect().left, 300);
    EXPECT_EQ(w.row(0).item(), w.container(L"world_view")->rows[0].get());

    // A first tap focuses a city, a second opens it.
    const int oslo = w.items().find_item(L"102")->get_rect().top + 10;
    tap(w, 100, oslo);
    EXPECT_EQ(w.current_key(), L"102");
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(commands.left_label(), L"Remove city");
    tap(w, 100, oslo);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], content_state(L"weather", L"102"));

    // The old rows are wiped away, then the city's five days come: "Today", then the device's weekdays.
    ASSERT_TRUE(
        frames_until(w, [&] { return w.shown_key() == L"102" && day_row(w, L"102", 4).is_loaded(); }));
    EXPECT_EQ(w.row(4).item(), w.container(L"102")->rows[4].get());
    EXPECT_EQ(day_row(w, L"102", 0).line(0), L"Today");
    EXPECT_EQ(day_row(w, L"102", 0).line(1), L"12 C");
    EXPECT_EQ(day_row(w, L"102", 0).line(2), L"-3 C");
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(day_row(w, L"102", i).line(0), weekday_from_today(i)) << i;
    // The other city is not asked for until it is chosen.
    EXPECT_EQ(requests_for("/zorweather?requestcity=101"), 0);

    // A unit change writes the texts again.
    zor::options::instance().flag(L"1.1") = true;
    w.refresh_texts();
    w.update(now);
    EXPECT_EQ(day_row(w, L"102", 0).line(1), L"54 F");

    // In landscape the five rows are taller than the page: a drag begun on them scrolls them to the last
    // day, and one begun on the selector leaves them.
    w.set_rect(RECT{0, 106, 800, 406});
    w.layout();
    w.process_event(cl::app::event(cl::app::event::pen_down, 0, 500, 200));
    w.scroll_y(-1000);
    EXPECT_EQ(w.row_box().scrolled(), w.row(4).get_rect().bottom - 406);
    w.process_event(cl::app::event(cl::app::event::pen_down, 0, 100, 200));
    w.scroll_y(1000);
    EXPECT_EQ(w.row_box().scrolled(), w.row(4).get_rect().bottom - 406);
}

TEST_F(weather_pages, a_forecast_is_reloaded_after_an_hour_and_a_failed_one_keeps_its_rows_and_waits) {
    zor::weather_content w(cities({{L"101", L"Lisbon"}}), &commands);
    w.set_rect(portrait);
    w.update(now);
    w.items().focus_item(L"101");
    ASSERT_TRUE(frames_until(w, [&] { return day_row(w, L"101", 0).is_loaded(); }));
    auto city = zor::model::weather_manager()->get_city(L"101", L"Lisbon");
    ASSERT_TRUE(eventually([&] { return !city->is_queued(); }));
    const auto stamp = static_cast<unsigned long>(city->timestamp());
    const int first = requests_for("/zorweather?requestcity=101");
    EXPECT_GE(first, 1);

    w.update(stamp + 59 * 60000);
    w.update(stamp + 60 * 60000);
    EXPECT_EQ(requests_for("/zorweather?requestcity=101"), first);
    EXPECT_FALSE(city->is_queued());

    // An hour later it is asked for again; this time the server sends a broken document.
    server.add_route("/zorweather?requestcity=101", "<WeatherDetails><City");
    now = stamp + 60 * 60000 + 25;
    ASSERT_TRUE(frames_until(w, [&] { return city->is_failed() && !city->is_queued(); }));
    EXPECT_GT(requests_for("/zorweather?requestcity=101"), first);
    EXPECT_EQ(day_row(w, L"101", 0).line(1), L"12 C");
    EXPECT_TRUE(w.is_loaded());
    EXPECT_FALSE(w.is_failed());
    expect_asked_again_after(w, "/zorweather?requestcity=101", 300); // 7.5 s
}

TEST_F(weather_pages, removing_a_city_selects_world_view_drops_the_command_saves_and_tells_the_settings) {
    zor::weather_content w(cities({{L"101", L"Lisbon"}, {L"102", L"Oslo"}}), &commands);
    std::vector<std::wstring> removed;
    w.city_removed.connect(
        utils::function1<void, std::wstring>([&](std::wstring id) { removed.push_back(id); }));
    w.set_rect(portrait);
    w.activate();
    w.update(now);

    // On a fixed item the command does nothing, whatever the bar says.
    w.on_command(L"Remove city");
    EXPECT_TRUE(removed.empty());
    EXPECT_EQ(keys(w.items()).size(), 4u);

    w.items().focus_item(L"101");
    ASSERT_TRUE(frames_until(w, [&] { return w.shown_key() == L"101"; }));
    EXPECT_EQ(commands.left_label(), L"Remove city");
    w.on_command(L"Remove city");
    EXPECT_EQ(keys(w.items()), (std::vector<std::wstring>{L"world_view", L"add_city", L"102"}));
    EXPECT_EQ(w.current_key(), L"world_view");
    EXPECT_EQ(commands.left_label(), L"");
    EXPECT_EQ(removed, (std::vector<std::wstring>{L"101"}));
    // The file no longer lists it.
    zor::options& reread = zor::options::load_from(folder.wpath());
    EXPECT_EQ(reread.cities().count(L"101"), 0u);
    EXPECT_EQ(reread.order(), (std::list<std::wstring>{L"102"}));
    // The removed city's rows slide away while they are still shown.
    ASSERT_TRUE(frames_until(w, [&] { return w.shown_key() == L"world_view" && !w.row(0).is_moving(); }));
    w.draw(*g, true);
}

TEST_F(weather_pages, a_search_lists_the_cities_found_and_add_stores_a_new_one_once) {
    server.add_route(
        "/zorweather?searchcity=lis",
        "<weather><searchresult><searchcity dataname=\"101\" realname=\"Lisbon\" country=\"Portugal\"/>"
        "<searchcity dataname=\"101\" realname=\"Lisbon\" country=\"Portugal\"/>"
        "<searchcity dataname=\"105\" realname=\"Lisburn\" country=\"United Kingdom\"/>"
        "</searchresult></weather>");
    zor::options* opts = cities({{L"102", L"Oslo"}});
    auto found = search(L"lis", opts);
    EXPECT_FALSE(found->is_loaded());
    ASSERT_TRUE(frames_until(*found, [&] { return found->is_loaded(); }));
    EXPECT_EQ(keys(found->results()), (std::vector<std::wstring>{L"101", L"105"}));
    found->update(now);
    EXPECT_EQ(commands.left_label(), L"");

    found->results().focus_item(L"105");
    found->update(now);
    EXPECT_EQ(commands.left_label(), L"Add");
    found->on_command(L"Add");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].page, L"weather_home");
    EXPECT_EQ(opts->cities()[L"105"], L"Lisburn");
    EXPECT_EQ(opts->order(), (std::list<std::wstring>{L"102", L"105"}));
    EXPECT_EQ(zor::options::load_from(folder.wpath()).cities().count(L"105"), 1u);

    // Already in the list: only back to the weather page.
    opts = &zor::options::instance();
    auto again = search(L"lis", opts);
    ASSERT_TRUE(frames_until(*again, [&] { return again->is_loaded(); }));
    again->results().focus_item(L"105");
    again->update(now);
    again->on_command(L"Add");
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(opts->order(), (std::list<std::wstring>{L"102", L"105"}));
}

TEST_F(weather_pages, an_empty_search_says_so_and_a_failed_one_is_asked_for_again_after_a_pause) {
    server.add_route("/zorweather?searchcity=zzz", "<weather><searchresult/></weather>");
    server.add_route("/zorweather?searchcity=bad", "<weather><searchresult><searchcity");
    auto none = search(L"zzz", cities({}));
    ASSERT_TRUE(frames_until(*none, [&] { return none->is_loaded(); }));
    EXPECT_TRUE(none->is_empty());
    clear(0xFFFF);
    none->draw(*g, true);
    // Dark text across the middle of the content, nothing of it at the top.
    auto dark_in_row = [&](int y) {
        int n = 0;
        for (int x = 0; x < 480; ++x)
            n += pixel(x, y) < 0x4000 ? 1 : 0;
        return n;
    };
    const int mid = (portrait.top + portrait.bottom) / 2;
    int middle = 0;
    for (int y = mid - 15; y < mid + 15; ++y)
        middle += dark_in_row(y);
    EXPECT_GT(middle, 50);
    EXPECT_EQ(dark_in_row(portrait.top + 40), 0);

    auto broken = search(L"bad", cities({}));
    ASSERT_TRUE(frames_until(*broken, [&] { return broken->is_failed() && !broken->is_loaded(); }));
    expect_asked_again_after(*broken, "/zorweather?searchcity=bad", 300); // 7.5 s
}

TEST_F(weather_pages,
       the_detailed_forecast_reads_loading_first_alternates_its_details_and_offers_to_add_the_city) {
    // A malformed date and a second Sunday still get rows of their own.
    server.add_route("/zorweather?requestcity=103",
                     forecast({"2026-12-06", "2026-12-07", "2026-12", "2026-12-13"}));
    zor::options* opts = cities({{L"101", L"Lisbon"}});
    zor::detailed_weather_content detail(L"103", L"Porto", opts, &commands);
    detail.set_rect(portrait);
    // Before the forecast is even asked for: rows reading " Loading ...", not the page's wait icon.
    EXPECT_TRUE(detail.is_loaded());
    EXPECT_FALSE(detail.is_failed());
    ASSERT_GT(detail.days().item_count(), 0);
    for (const auto& row : detail.days().items()) {
        const auto* d = dynamic_cast<const zor::detailed_weather_list_box_item*>(row.get());
        ASSERT_NE(d, nullptr);
        EXPECT_FALSE(d->has_value());
    }
    commands.set_left_label(L"");
    detail.update(now);
    EXPECT_EQ(commands.left_label(), L"Add city");
    ASSERT_TRUE(frames_until(detail, [&] { return !detail.day_keys().empty(); }));
    EXPECT_EQ(detail.day_keys(), (std::vector<std::wstring>{L"Sunday", L"Monday", L"day 2", L"day 3"}));
    const auto* first = static_cast<const cl::ui::list_box_item*>(detail.days().items()[0].get());
    EXPECT_EQ(first->caption(), L"Today");
    const auto& a = detail.details(0, L"Sunday");
    ASSERT_EQ(a.size(), 3u);
    EXPECT_EQ(a[0]->caption(), L"Temperature");
    EXPECT_EQ(a[0]->value(), L"12 C / -3 C");
    EXPECT_EQ(a[1]->value(), L"Cloudy");
    const auto& b = detail.details(1, L"Monday");
    ASSERT_EQ(b.size(), 3u);
    EXPECT_EQ(b[0]->value(), L"Windy");
    EXPECT_EQ(b[1]->value(), L"high");
    EXPECT_EQ(b[2]->value(), L"10.0 m/s");
    EXPECT_EQ(detail.days().item_count(), 16);
    EXPECT_NE(detail.days().find_item(L"Sunday/a1"), nullptr);
    EXPECT_EQ(detail.days().find_item(L"loading 1"), nullptr);

    // The details change every 2800 ms, the air quality group replacing the temperatures in the list.
    const int group = detail.shown_group();
    frames(detail, 50); // 1.25 s
    EXPECT_EQ(detail.shown_group(), group);
    ASSERT_TRUE(frames_until(
        detail, [&] { return detail.shown_group() != group; }, 200));
    const std::wstring other = group == 0 ? L"Sunday/b1" : L"Sunday/a1";
    EXPECT_NE(detail.days().find_item(other), nullptr);
    EXPECT_EQ(detail.days().item_count(), 16);
    // Each day and its details stand one under the other.
    const auto& rows = detail.days().items();
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_GE(rows[i]->top(), rows[i - 1]->bottom()) << i;

    // A focused detail hands the focus to the detail in its place in the other group, and back; exactly one
    // row is highlighted, the focused one.
    const std::wstring day = detail.day_keys()[1];
    const std::wstring a2 = day + L"/a2", b2 = day + L"/b2";
    frames_until(
        detail, [&] { return detail.shown_group() == 0; }, 400);
    ASSERT_EQ(detail.shown_group(), 0);
    detail.days().focus_item(a2);
    for (const std::wstring& expected : {b2, a2, b2}) {
        const int group = detail.shown_group();
        ASSERT_TRUE(frames_until(
            detail, [&] { return detail.shown_group() != group; }, 400));
        EXPECT_EQ(detail.days().focused_key(), expected);
        int highlighted = 0;
        for (const auto& which : {0, 1})
            for (const std::wstring& k : detail.day_keys())
                for (const auto& row : detail.details(which, k))
                    highlighted += row->is_focused() ? 1 : 0;
        EXPECT_EQ(highlighted, 1);
        ASSERT_NE(detail.days().focused_item(), nullptr);
        EXPECT_TRUE(detail.days().focused_item()->is_focused());
    }
    // A focused day keeps its focus.
    detail.days().focus_item(day);
    const int day_group = detail.shown_group();
    ASSERT_TRUE(frames_until(
        detail, [&] { return detail.shown_group() != day_group; }, 400));
    EXPECT_EQ(detail.days().focused_key(), day);

    detail.on_command(L"Add city");
    EXPECT_EQ(commands.left_label(), L"");
    EXPECT_EQ(opts->cities()[L"103"], L"Porto");
    detail.on_command(L"Add city");
    EXPECT_EQ(opts->order(), (std::list<std::wstring>{L"101", L"103"}));
    EXPECT_EQ(zor::options::load_from(folder.wpath()).cities().count(L"103"), 1u);

    // A city of the user's list offers nothing.
    commands.set_left_label(L"Remove city");
    zor::detailed_weather_content known(L"101", L"", &zor::options::instance(), &commands);
    known.update(now);
    EXPECT_EQ(commands.left_label(), L"");
}

// A turn rebuilds the detailed forecast at another width: the days open again at the row that was at the top.
TEST_F(weather_pages, a_detailed_forecast_rebuilt_from_its_state_opens_at_the_row_that_was_at_the_top) {
    zor::options* opts = cities({});
    zor::detailed_weather_content before(L"101", L"Lisbon", opts, &commands);
    before.set_rect(portrait);
    ASSERT_TRUE(frames_until(before, [&] { return !before.day_keys().empty(); }));
    EXPECT_TRUE(before.get_state().extra.empty());
    before.scroll_y(-500);
    const content_state kept = before.get_state();
    ASSERT_EQ(kept.extra.size(), 2u);
    EXPECT_GT(kept.extra[0], 2);
    zor::detailed_weather_content turned(L"101", L"Lisbon", opts, &commands);
    turned.set_rect(RECT{0, 106, 800, 388});
    turned.resume(kept);
    ASSERT_TRUE(frames_until(turned, [&] { return !turned.day_keys().empty(); }));
    EXPECT_EQ(turned.days().top_row(), kept.extra[0]);
}

TEST_F(weather_pages, the_add_city_page_keeps_the_typed_text_enter_searches_and_a_fresh_one_starts_empty) {
    cl::ui::edit_box field(window.get_hwnd());
    field.move_to(20, 350); // where the panel window puts it in portrait
    std::vector<std::wstring> clicked;
    commands.left_clicked.connect(
        utils::function1<void, std::wstring>([&](std::wstring label) { clicked.push_back(label); }));
    commands.set_left_label(L"Search");
    {
        zor::add_city_content page(&field, L"Lis", &commands);
        page.set_rect(portrait);
        page.layout();
        EXPECT_TRUE(field.is_visible());
        EXPECT_EQ(platform::get_focus(), field.get_hwnd());
        EXPECT_EQ(page.get_state(), content_state(L"weather_item", L"add_city", L"Lis"));
        commands.on_key_down(platform::VK_RETURN);
        EXPECT_EQ(clicked, (std::vector<std::wstring>{L"Search"}));
    }
    // Hidden, and the keys go to the panel again.
    EXPECT_FALSE(field.is_visible());
    pump();
    EXPECT_EQ(platform::get_focus(), window.get_hwnd());
    commands.on_key_down(platform::VK_RETURN);
    EXPECT_EQ(clicked.size(), 1u);

    // Opened afresh after a search, the field is empty.
    {
        zor::add_city_content fresh(&field, L"", &commands);
        EXPECT_EQ(fresh.text(), L"");
    }
    // Coming back through the history, the text is there, selected, so typing replaces it.
    zor::add_city_content back(&field, L"Lis", &commands);
    platform::send_message(field.get_hwnd(), platform::WM_CHAR, L'P', 0);
    EXPECT_EQ(back.text(), L"P");
}

// The home screen's keyboard as the shell has it: a top-level window of its class.
class keyboard_window {
public:
    explicit keyboard_window(const RECT& home) {
        register_window_class(L"SipWndClass");
        hwnd = platform::create_window(0, L"SipWndClass", L"", 0, home.left, home.top, home.right - home.left,
                                       home.bottom - home.top, nullptr, nullptr);
    }
    ~keyboard_window() {
        platform::destroy_window(hwnd);
        platform::unregister_class(L"SipWndClass", nullptr);
    }
    RECT rect() const { return platform::get_window_rect(hwnd); }
    bool visible() const { return platform::is_window_visible(hwnd); }
    void move_to(const RECT& r) {
        platform::move_window(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, false);
    }

    platform::HWND hwnd;
};

// The field where the panel window puts it, the content between the page's bars and the keyboard's home at
// the bottom of the screen, in each orientation.
TEST_F(weather_pages, the_add_city_page_puts_the_keyboard_below_the_field_clear_of_the_command_bar) {
    const struct {
        const char* name;
        platform::POINT field;
        RECT content, keyboard_home;
    } rows[] = {{"portrait", {20, 350}, {0, 106, 480, 708}, {0, 600, 480, 800}},
                {"landscape", {180, 120}, {0, 106, 800, 388}, {0, 280, 800, 480}}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        keyboard_window keyboard(r.keyboard_home);
        {
            cl::ui::edit_box field(window.get_hwnd());
            field.move_to(r.field.x, r.field.y);
            zor::add_city_content page(&field, L"", &commands);
            page.set_rect(r.content);
            page.layout();
            pump();
            // The prompt has a line of its own above the field.
            EXPECT_GE(page.prompt_rect().bottom - page.prompt_rect().top,
                      zor::add_city_content::prompt_room());
            EXPECT_EQ(page.prompt_rect().bottom, field.get_rect().top);
            EXPECT_EQ(field.get_rect().left, r.field.x);
            platform::POINT below{0, field.get_rect().bottom}, bar{0, r.content.bottom};
            platform::client_to_screen(window.get_hwnd(), below);
            platform::client_to_screen(window.get_hwnd(), bar);
            const RECT placed = keyboard.rect();
            EXPECT_EQ(placed.top, below.y);
            EXPECT_LE(placed.bottom, bar.y);
            EXPECT_GE(placed.bottom - placed.top, 160); // keys still a fingertip high
            EXPECT_EQ(placed.left, r.keyboard_home.left);
            EXPECT_EQ(placed.right, r.keyboard_home.right);
            EXPECT_TRUE(keyboard.visible()); // the field has the focus
            // A tap beside the field puts it away; a tap on the field brings it back.
            page.on_pen_down(platform::POINT{240, 110});
            EXPECT_FALSE(keyboard.visible());
            platform::send_message(field.get_hwnd(), platform::WM_LBUTTONDOWN, 0, 0);
            EXPECT_TRUE(keyboard.visible());
        }
        pump();
        EXPECT_EQ(keyboard.rect(), r.keyboard_home);
    }
}

// Turning the screen: the home screen puts its keyboard at its new home, then the page for the new
// orientation is laid out while the old one goes.
TEST_F(weather_pages, after_a_turn_the_keyboard_keeps_the_home_screens_new_place) {
    const RECT portrait_home{0, 600, 480, 800}, landscape_home{0, 280, 800, 480};
    keyboard_window keyboard(portrait_home);
    cl::ui::edit_box field(window.get_hwnd());
    field.move_to(20, 350);
    auto old_page = std::make_unique<zor::add_city_content>(&field, L"", &commands);
    old_page->set_rect(RECT{0, 106, 480, 708});
    old_page->layout();
    keyboard.move_to(landscape_home);
    field.move_to(180, 120);
    old_page.reset();
    EXPECT_EQ(keyboard.rect(), landscape_home);
    {
        zor::add_city_content page(&field, L"", &commands);
        page.set_rect(RECT{0, 106, 800, 388});
        page.layout();
        EXPECT_EQ(keyboard.rect().right - keyboard.rect().left, 800);
        // Laid out again after a turn that kept the page: the new home is taken again.
        keyboard.move_to(portrait_home);
        field.move_to(20, 350);
        page.set_rect(RECT{0, 106, 480, 708});
        page.layout();
        EXPECT_EQ(keyboard.rect().right - keyboard.rect().left, 480);
    }
    pump();
    EXPECT_EQ(keyboard.rect(), portrait_home);
}

} // namespace
