// The ticker strip and the header's weather against a content server on loopback: the model loads the
// categories, the advert, its banners and the home city's forecast on the loading thread while the parts are
// ticked with frame times.
#include "chrome/header_bar.h"
#include "chrome/ticker_manager.h"
#include "model/config.h"
#include "model/model.h"
#include "model/options.h"
#include "platform/clock.h"
#include "platform/debug_log.h"
#include "platform/shell_open.h"
#include "platform/text.h"
#include "support/config_file.h"
#include "support/log_capture.h"
#include "support/picture_maker.h"
#include "support/served_fixture.h"
#include "ui/graphics.h"
#include "ui/resources.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <sys/stat.h>
#include <thread>

namespace {

using platform::RECT;
using zor::ticker_manager;
using zor::ui::ticker;

std::string headlines(const std::string& prefix, int count) {
    std::string doc = "<newsheadline timestamp=\"20261201T100000\">";
    for (int i = 1; i <= count; ++i)
        doc += "<headline id=\"" + prefix + std::to_string(i) + "\" timestamp=\"1\"><text>" + prefix +
               " story " + std::to_string(i) + "</text></headline>";
    return doc + "</newsheadline>";
}

std::string png(int w, int h) {
    auto bytes = encode_png(w, h, solid_rgba(w, h, 200, 40, 40, 255));
    return std::string(bytes.begin(), bytes.end());
}

class tickers : public served_fixture {
protected:
    void start(const std::vector<std::pair<std::string, int>>& categories) {
        std::string list;
        for (const auto& c : categories) {
            list += "<category name=\"" + c.first + "\" url=\"/news/" + c.first + "\" color=\"10,20,30\"/>";
            server.add_route("/news/" + c.first, headlines(c.first, c.second));
        }
        server.add_route("/ads",
                         "<advert><image tracker_id=\"t1\" url=\"/b/1.png\" waplink=\"http://one.example/\"/>"
                         "<image tracker_id=\"t2\" url=\"/b/2.png\" waplink=\"https://two.example/x\"/>"
                         "</advert>");
        server.add_route("/b/1.png", png(480, 104));
        server.add_route("/b/2.png", png(480, 104));
        served_fixture::start(weather_here() +
                              "<news><headline pict_width=\"120\" pict_height=\"90\"/><categories>" + list +
                              "</categories><advertise url=\"/ads\" pict_width=\"480\"/></news>");
        strip.reset(new ticker_manager);
        strip->set_rect(area);
        strip->request.connect(utils::function1<void, zor::content_state>(
            [this](zor::content_state s) { requests.push_back(s); }));
        platform::set_shell_launcher([this](const std::vector<std::string>& argv) {
            launched.push_back(argv);
            return true;
        });
    }
    void TearDown() override {
        platform::set_shell_launcher(nullptr);
        strip.reset();
        served_fixture::TearDown();
    }
    // Frames of 25 ms until the condition holds; the loading thread gets real time meanwhile.
    bool frames_until(const std::function<bool()>& condition, int limit = until_done) {
        return tick_until(*strip, now, condition, limit, 8);
    }
    // What is on screen: "news World" or "advert http://one.example/".
    std::string shown() {
        ticker* t = strip->on_screen();
        if (!t)
            return "none";
        return (t->page_name() == L"news_ticker" ? "news " : "advert ") + narrow(t->name());
    }
    // The first n tickers shown, in turn.
    std::vector<std::string> turns(std::size_t n) {
        std::vector<std::string> order;
        EXPECT_TRUE(frames_until([&] {
            if (strip->is_visible() && (order.empty() || order.back() != shown()))
                order.push_back(shown());
            return order.size() == n;
        }));
        return order;
    }

    const RECT area{0, 604, 480, 708};
    std::unique_ptr<ticker_manager> strip;
    std::vector<zor::content_state> requests;
    std::vector<std::vector<std::string>> launched;
};

TEST_F(tickers, news_and_adverts_take_turns_and_the_news_walks_through_the_categories) {
    start({{"World", 1}, {"Business", 2}});
    std::vector<std::wstring> labels;
    strip->label.connect(utils::function1<void, std::wstring>([&](std::wstring l) { labels.push_back(l); }));
    strip->set_mode(ticker_manager::news_and_adverts);
    EXPECT_FALSE(strip->is_visible()); // nothing loaded yet
    EXPECT_EQ(turns(5), (std::vector<std::string>{"news World", "advert http://one.example/", "news Business",
                                                  "advert https://two.example/x", "news World"}));
    EXPECT_EQ(labels.front(), L"Read ticker");
    EXPECT_EQ(labels[1], L"View ad");

    // Hidden (another tab is shown), the strip runs on but gives up the soft key until it shows again.
    strip->set_visible(false);
    EXPECT_EQ(labels.back(), L"");
    const std::size_t named = labels.size();
    const zor::ui::ticker* before = strip->on_screen();
    ASSERT_TRUE(frames_until([&] { return strip->on_screen() != before; }));
    EXPECT_EQ(labels.size(), named);
    EXPECT_FALSE(strip->claims_label(L"Read ticker") || strip->claims_label(L"View ad"));
    strip->set_visible(true);
    EXPECT_EQ(labels.size(), named + 1);
    EXPECT_NE(labels.back(), L"");

    // Off: nothing on screen, nothing drawn.
    strip->set_mode(ticker_manager::off);
    EXPECT_FALSE(strip->is_visible());
    clear(0);
    strip->draw(*g, true);
    EXPECT_EQ(changed_outside(RECT{0, 0, 0, 0}, 0), 0);
}

// A category that fails is passed by from the first turn on.
TEST_F(tickers, after_a_failed_category_the_news_goes_on_and_the_category_returns_once_it_loads) {
    start({{"Broken", 1}, {"World", 1}, {"Business", 1}});
    server.add_route("/news/Broken", "no document");
    strip->set_mode(ticker_manager::news_and_adverts);
    EXPECT_EQ(turns(3), (std::vector<std::string>{"advert http://one.example/", "news World",
                                                  "advert https://two.example/x"}));
    auto count = [](const std::vector<std::string>& order, const std::string& what) {
        return std::count(order.begin(), order.end(), what);
    };
    const std::vector<std::string> first = turns(12);
    // Every other turn is news, but for the turns that pass the broken category by.
    EXPECT_GE(count(first, "news World") + count(first, "news Business"), 5);
    EXPECT_GE(count(first, "news Business"), 2);
    EXPECT_EQ(count(first, "news Broken"), 0);

    server.add_route("/news/Broken", headlines("Broken", 1));
    const std::vector<std::string> later = turns(12);
    EXPECT_GE(count(later, "news Broken"), 1);
    EXPECT_GE(count(later, "news World") + count(later, "news Business"), 3);
}

TEST_F(tickers,
       a_news_ticker_keeps_five_headlines_taps_open_them_or_the_advert_link_and_a_swipe_moves_on_once) {
    start({{"World", 8}});
    EXPECT_EQ(strip->news(1).name(), L"World"); // one category serves both news tickers
    strip->set_mode(ticker_manager::news_and_adverts);
    ASSERT_TRUE(frames_until([&] { return strip->is_visible() && strip->news(0).is_loaded(); }));
    EXPECT_EQ(strip->news(0).name(), L"World");
    EXPECT_EQ(strip->news(0).get_items().size(), 5u);
    EXPECT_EQ(strip->news(0).get_items()[4].id, L"World5");
    EXPECT_EQ(strip->news(0).run_length(1), 28500u);
    EXPECT_EQ(strip->news(0).run_length(0), 0u);
    EXPECT_EQ(strip->advert(0).run_length(1), 5500u);
    // Draws the category on its colour and the headline on white, inside the strip only.
    clear(0);
    strip->draw(*g, true);
    EXPECT_EQ(changed_outside(area, 0), 0);

    ASSERT_TRUE(frames_until([&] { return strip->on_screen()->moving_rect().left == 0; }));
    strip->on_pen_down(platform::POINT{300, 650});
    strip->on_pen_up(platform::POINT{304, 652});
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], zor::content_state(L"headlines", L"World", L"", L"World1"));

    // The second headline after one item time.
    ASSERT_TRUE(frames_until([&] { return strip->news(0).headline_on_screen() == L"World story 2"; }, 300));
    EXPECT_TRUE(strip->claims_label(L"Read ticker"));
    EXPECT_EQ(requests.back().params[2], L"World2");
    EXPECT_FALSE(strip->claims_label(L"View ad"));

    // A vertical swipe ends the run: its many moves bring one advert, not several tickers.
    ASSERT_TRUE(frames_until([&] { return strip->advert(0).is_loaded(); }));
    for (int i = 0; i < 5; ++i) {
        strip->drag_y(0, -10);
        frames_until([] { return false; }, 2);
    }
    EXPECT_EQ(shown(), "advert http://one.example/");
    ASSERT_TRUE(frames_until([&] { return strip->leaving() == nullptr; }));
    EXPECT_EQ(shown(), "advert http://one.example/");
    strip->on_pen_down(platform::POINT{100, 650});
    strip->on_pen_up(platform::POINT{100, 650});
    EXPECT_TRUE(strip->claims_label(L"View ad"));
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[0], (std::vector<std::string>{"xdg-open", "http://one.example/"}));
}

class header_weather : public tickers {
protected:
    void SetUp() override {
        tickers::SetUp();
        server.add_route("/zorweather?requestcity=101",
                         "<WeatherDetails><City><Day><date>2026-12-06</date><precipitationdesc>Rain"
                         "</precipitationdesc><skydescription>Cloudy</skydescription><tmin>-3</tmin>"
                         "<tmax>12</tmax><windspeed>10</windspeed><icon>13</icon><airquality>20</airquality>"
                         "<uvindex>1</uvindex></Day></City></WeatherDetails>");
        zor::options& opts = zor::options::load_from(options_folder.wpath());
        opts.cities()[L"101"] = L"Oslo";
        opts.order().push_back(L"101");
        start({{"World", 1}});
        header.reset(new zor::ui::header_bar);
        header->set_rect(RECT{0, 0, 480, 748});
        header->layout();
    }
    void TearDown() override {
        header.reset();
        tickers::TearDown();
    }
    bool header_frames_until(const std::function<bool()>& condition, int limit = until_done) {
        return frames_until(
            [&] {
                header->update(now);
                return condition();
            },
            limit);
    }
    int forecast_requests() { return requests_for("/zorweather?requestcity=101"); }
    temp_folder options_folder;
    std::unique_ptr<zor::ui::header_bar> header;
};

TEST_F(header_weather, shows_the_home_city_in_the_user_units_and_nothing_without_one) {
    header->update(now);
    EXPECT_FALSE(header->shows_weather()); // no city is the home city yet
    EXPECT_EQ(forecast_requests(), 0);

    zor::options::instance().flag(L"101") = true;
    ASSERT_TRUE(header_frames_until([&] { return header->shows_weather(); }));
    EXPECT_EQ(header->city(), L"Oslo");
    EXPECT_EQ(header->temperatures(), L"12 / -3 C");
    clear(0);
    header->draw(*g, false);
    EXPECT_GT(count(platform::RECT{300, 0, 480, 56}, 0xFFFF), 100); // the name and the temperatures

    zor::options::instance().flag(L"1.1") = true;
    header->refresh();
    header->update(now);
    EXPECT_EQ(header->temperatures(), L"54 / 27 F");

    // A tap on the weather opens the city's forecast, asked for by its id.
    std::vector<std::wstring> clicked;
    header->clicked.connect(utils::function2<void, std::wstring, std::wstring>(
        [&](const std::wstring& page, const std::wstring& name) {
            clicked = {page, name};
        }));
    header->on_pen_down(platform::POINT{400, 30});
    header->on_pen_up(platform::POINT{400, 30});
    EXPECT_EQ(clicked, (std::vector<std::wstring>{L"weather_item", L"101"}));

    zor::options::instance().flag(L"101") = false;
    header->update(now);
    EXPECT_FALSE(header->shows_weather());
}

TEST_F(header_weather, a_new_home_city_shows_at_once_and_a_removed_one_goes) {
    server.add_route("/zorweather?requestcity=102",
                     "<WeatherDetails><City><Day><date>2026-12-06</date><precipitationdesc>Rain"
                     "</precipitationdesc><skydescription>Cloudy</skydescription><tmin>1</tmin>"
                     "<tmax>4</tmax><windspeed>10</windspeed><icon>13</icon><airquality>20</airquality>"
                     "<uvindex>1</uvindex></Day></City></WeatherDetails>");
    zor::options& opts = zor::options::instance();
    opts.cities()[L"102"] = L"Bergen";
    opts.order().push_back(L"102");
    opts.flag(L"101") = true;
    ASSERT_TRUE(header_frames_until([&] { return header->city() == L"Oslo"; }));

    // Well inside the minute the old city's retry waits for, the new home city is asked for and shown.
    opts.flag(L"101") = false;
    opts.flag(L"102") = true;
    header->update(now);
    EXPECT_NE(header->city(), L"Oslo");
    const unsigned long changed = now;
    ASSERT_TRUE(header_frames_until([&] { return header->city() == L"Bergen"; }, 4000));
    EXPECT_LT(now - changed, 20000u);

    opts.flag(L"102") = false;
    header->update(now);
    EXPECT_FALSE(header->shows_weather());
}

TEST_F(header_weather, a_failing_forecast_is_asked_for_again_after_a_minute_not_at_every_frame) {
    server.add_route("/zorweather?requestcity=101", "<WeatherDetails><City");
    zor::options::instance().flag(L"101") = true;
    ASSERT_TRUE(header_frames_until([&] { return forecast_requests() == 1; }));
    header_frames_until([] { return false; }, 2000); // 50 s of frames
    EXPECT_EQ(forecast_requests(), 1);
    EXPECT_FALSE(header->shows_weather());
    EXPECT_TRUE(header_frames_until([&] { return forecast_requests() == 2; }, 800));
}

TEST(shell_open, opens_only_web_links) {
    std::vector<std::string> seen;
    platform::set_shell_launcher([&](const std::vector<std::string>& argv) {
        seen.push_back(argv[1]);
        return true;
    });
    EXPECT_TRUE(platform::shell_open(L"HTTPS://example.org/a b"));
    EXPECT_TRUE(platform::shell_open(L"http://example.org/caf\u00e9"));
    for (const wchar_t* bad : {L"file:///etc/passwd", L"javascript:alert(1)", L"http://", L"", L"-x http://a",
                               L"http://a.example/\nrm"})
        EXPECT_FALSE(platform::shell_open(bad)) << narrow(bad);
    platform::set_shell_launcher(nullptr);
    EXPECT_EQ(seen, (std::vector<std::string>{"HTTPS://example.org/a b", "http://example.org/caf\xc3\xa9"}));
}

// Without a browser the handler fails: its complaints stay out of the host's terminal and the log says so.
TEST(shell_open, a_link_that_no_browser_opens_is_logged) {
    temp_folder bin;
    bin.write("xdg-open", "#!/bin/sh\necho 'xdg-open: no method available for opening' >&2\nexit 3\n");
    ::chmod(bin.file("xdg-open").c_str(), 0755);
    const char* saved = std::getenv("PATH");
    const std::string path = saved ? saved : "";
    ::setenv("PATH", (bin.path() + ":" + path).c_str(), 1);
    log_capture log;
    EXPECT_TRUE(platform::shell_open(L"http://example.org/ad"));
    const bool logged = eventually(
        [&] {
            for (const auto& l : log.lines())
                if (l.find("No web browser opened http://example.org/ad") != std::string::npos &&
                    l.find("status 3") != std::string::npos)
                    return true;
            return false;
        },
        std::chrono::seconds(20));
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_TRUE(logged);
}

} // namespace
