#pragma once

#include "chrome/adv_ticker.h"
#include "chrome/news_ticker.h"
#include "chrome/tap_tracker.h"
#include "content/content_state.h"
#include "ui/control_base.h"
#include "utils/signal.h"
#include "utils/trackable.h"

#include <memory>
#include <string>

namespace zor {

// The ticker strip at the bottom of the news pages: news tickers walking through the categories and advert
// tickers showing banners, alternately (mode 1) or adverts only (mode 2). A tap, or the left soft key
// labelled with the ticker's command, opens what is on screen; a vertical swipe moves on to the next. The
// news walks through the categories in turn; one that failed is passed by and asked for again, so it comes
// back once it loads.
class ticker_manager : public cl::ui::control_base, public utils::trackable {
public:
    enum mode_code { off = 0, news_and_adverts = 1, adverts_only = 2 };

    ticker_manager();
    ~ticker_manager() override;

    // A tapped news ticker asks for its headline's article.
    utils::signal<utils::function1<void, content_state>> request;
    // The command bar's left label for the ticker on screen.
    utils::signal<utils::function1<void, std::wstring>> label;

    void set_mode(int m);
    int get_mode() const { return mode; }
    void set_portrait(bool p) { portrait = p; }
    // A vertical swipe ends the run on screen, so the next ticker comes.
    void drag_y(int dx, int dy);
    // The page switched to another content.
    void content_changed() {}
    // True when the label is the command of the ticker on screen, which is then opened.
    bool claims_label(const std::wstring& text);

    bool is_shown() const { return shown; }
    zor::ui::ticker* on_screen() const { return current; }
    zor::ui::ticker* leaving() const { return previous; }
    zor::ui::news_ticker& news(int i) { return *news_tickers[i]; }
    zor::ui::adv_ticker& advert(int i) { return *adv_tickers[i]; }

    // Shown, with a ticker on screen.
    bool is_visible() const override;
    void set_visible(bool v) override;
    void set_rect(const platform::RECT& r) override;
    void update(unsigned long now_ms) override;
    void layout() override;
    void draw(cl::ui::i_graphics& g, bool force) override;
    void on_key_down(int key) override;
    void on_pen_down(const platform::POINT& p) override;
    void on_pen_up(const platform::POINT& p) override;

private:
    bool is_news(const zor::ui::ticker* t) const;
    // The ticker's next category or banner, once it has stopped or finished.
    void prepare(zor::ui::ticker* t);
    void stop(zor::ui::ticker*& t);
    void on_finished(zor::ui::ticker* t);
    void on_news_request(content_state s);
    // The ticker to show after the current one: of the other kind when it has something to show. A news
    // ticker whose category failed is moved on to the next category (at most once per category in a row).
    zor::ui::ticker* next_of_other_kind();
    void begin(zor::ui::ticker* t, unsigned long now_ms);

    int mode = off;
    std::unique_ptr<zor::ui::news_ticker> news_tickers[2];
    std::unique_ptr<zor::ui::adv_ticker> adv_tickers[2];
    zor::ui::ticker* current = nullptr;
    zor::ui::ticker* previous = nullptr;
    int next_news = 0;
    int next_adv = 0;
    // The category the next prepared news ticker takes, and how many failed ones were passed in a row.
    std::size_t next_category = 0;
    std::size_t passed = 0;
    unsigned long run_started = 0;
    unsigned long run_length = 0;
    bool end_run = false;
    bool portrait = true;
    bool shown = false;
    zor::ui::tap_tracker tap;
};

} // namespace zor
