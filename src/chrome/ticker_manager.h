#pragma once

#include "app/content_state.h"
#include "ui/i_control.h"
#include "utils/signal.h"

#include <string>

namespace zor {

// The place of the news and advert tickers at the bottom of the news pages: the page sets its mode,
// shape and rectangle and routes pen events and vertical swipes to it. The tickers themselves are not
// part of this build yet, so nothing is ever on screen: it is never visible and claims no label.
class ticker_manager : public cl::ui::i_control {
public:
    enum mode_code { off = 0, news_and_adverts = 1, adverts_only = 2 };

    // A tapped news ticker asks for its headline's article.
    utils::signal<utils::function1<void, content_state>> request;
    // The command bar's left label for the ticker on screen (empty when none).
    utils::signal<utils::function1<void, std::wstring>> label;

    void set_mode(int m);
    int get_mode() const { return mode; }
    void set_portrait(bool p) { portrait = p; }
    bool is_portrait() const { return portrait; }
    void set_area(const platform::RECT& r, int page_bottom);
    int page_bottom() const { return bottom; }
    // A vertical swipe moves the tickers on.
    void drag_y(int dx, int dy);
    // The page switched to another content.
    void content_changed() {}
    // True when the label is the command of the ticker on screen, which then handles it.
    bool claims_label(const std::wstring& text);

    bool is_shown() const { return shown; }
    bool is_visible() const override { return shown && on_screen; }
    void set_visible(bool v) override { shown = v; }
    bool is_dirty() const override { return dirty; }
    void set_dirty(bool d) override { dirty = d; }
    platform::RECT get_rect() const override { return rect; }
    void set_rect(const platform::RECT& r) override { rect = r; }
    void update(unsigned long) override {}
    void layout() override {}
    void draw(cl::ui::i_graphics&, bool) override { dirty = false; }

private:
    int mode = off;
    bool shown = false;
    bool on_screen = false; // a ticker is on screen
    bool portrait = true;
    platform::RECT rect;
    int bottom = 0;
    bool dirty = false;
};

} // namespace zor
