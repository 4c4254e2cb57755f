#pragma once

#include "app/content_factory.h"
#include "app/content_manager.h"
#include "app/preloading_control.h"
#include "chrome/command_bar.h"
#include "chrome/footer_bar.h"
#include "chrome/header_bar.h"
#include "chrome/navigation_bar.h"
#include "chrome/page_header.h"
#include "chrome/ticker_manager.h"
#include "content/content_state.h"
#include "ui/control_base.h"
#include "utils/signal.h"
#include "utils/trackable.h"

#include <boost/noncopyable.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zor {
namespace app {

// The one screen of the application: the chrome bars around the strip of contents. Every navigation
// target is built by one of its loaders; it routes input to the bars and the contents, turns drags into
// swipes, and keeps the history for "Back".
class page : public cl::ui::control_base, public utils::trackable, private boost::noncopyable {
public:
    static constexpr int swipe_distance = 50;
    static constexpr int navigation_height = 50;
    static constexpr int ticker_height = 104;
    static constexpr int ticker_width = 480;

    explicit page(const std::shared_ptr<content_factory>& factory);
    ~page() override;

    utils::signal<utils::function1<void, std::wstring>> next_state;

    // Navigation.
    void on_request(content_state s);
    void load(const std::wstring& key, const std::vector<std::wstring>& params,
              const std::vector<std::int32_t>& extra);
    void go_back();
    void on_link(std::wstring key, std::wstring value);
    std::vector<content_state> save_history() const;
    void restore_history(std::vector<content_state> list);
    const std::vector<content_state>& get_history() const { return history; }

    // Places the content strip between the bars; with ticker_room its bottom leaves room for the tickers.
    void layout_contents(bool ticker_room);

    bool is_visible() const override { return true; }
    void set_visible(bool) override {}
    void update(unsigned long now_ms) override;
    void layout() override;
    void draw(cl::ui::i_graphics& g, bool force) override;
    void process_event(const cl::app::event& e) override;
    void on_key_down(int key) override;
    void on_pen_down(const platform::POINT& p) override;
    void on_pen_move(const platform::POINT& p) override;
    void on_pen_up(const platform::POINT& p) override;

    // The parts, for the contents that connect to them and for tests.
    content_manager& contents() { return *strip; }
    ui::command_bar& commands() { return *command; }
    ui::navigation_bar& navigation() { return *tabs; }
    ui::header_bar& header() { return *header_part; }
    ui::footer_bar& footer() { return *footer_part; }
    ticker_manager& tickers() { return *ticker_part; }
    const preloading_control& preloading() const { return preloader; }
    bool is_landscape() const { return rect.right - rect.left > rect.bottom - rect.top; }
    // Which way the pen's drag goes once it is told apart from a tap.
    enum class drag_direction { none = 0, horizontal = 1, vertical = 2 };
    drag_direction drag_state() const { return drag_mode; }

private:
    enum bar_state { hide = 0, show = 1, keep = -1 };
    struct bars {
        bar_state header, navigation, footer, command;
    };
    struct labels {
        std::optional<std::wstring> left, right;
    };

    void on_next_content();
    void on_previous_content();
    void on_left_command(std::wstring label);
    void on_right_command(std::wstring label);
    void on_ticker_label(std::wstring label);
    void on_preloaded();
    void on_layout_changed();

    // The steps every loader shares.
    void begin_load(const bars& visible);
    void add_content(std::unique_ptr<i_page_content> content);
    void add_content(std::unique_ptr<i_page_content> content, const ui::navigation_bar::tab_record& tab);
    void finish_load(int first, const labels& commands, int ticker_mode, bool opening);

    void load_main(const std::wstring& key, const std::vector<std::wstring>& params = {},
                   const std::vector<std::int32_t>& extra = {});
    void load_headlines(const std::vector<std::wstring>& params);
    void load_article(const std::vector<std::wstring>& params);
    void load_attachment(const std::vector<std::wstring>& params);
    void load_continent_map(const std::wstring& code, const std::wstring& name);
    void load_zone_map(const std::vector<std::wstring>& params);
    void load_video(const std::wstring& name, const std::wstring& clip);
    void load_globe(int angle_a, int angle_b);
    void load_fresh_globe();
    void load_add_city(const std::wstring& search);
    void load_detailed_weather(const std::wstring& city, const std::wstring& second);
    void load_city_list();
    void load_terms();

    void switch_contents(int direction);
    void release_drag(const platform::POINT& p);
    bool inside_bar(const platform::POINT& p) const;
    int header_bottom() const;

    std::shared_ptr<content_factory> factory;
    preloading_control preloader;
    std::unique_ptr<ui::page_header> top_bar;
    std::unique_ptr<content_manager> strip;
    std::unique_ptr<ui::command_bar> command;
    std::unique_ptr<ui::navigation_bar> tabs;
    std::unique_ptr<ticker_manager> ticker_part;
    std::unique_ptr<ui::header_bar> header_part;
    std::unique_ptr<ui::footer_bar> footer_part;
    std::vector<content_state> history;
    platform::POINT press;
    platform::POINT last_move;
    bool pressing = false;
    drag_direction drag_mode = drag_direction::none;
    int drag_dx = 0;
    int drag_dy = 0;
    bool first_load = true;
    bool redraw_contents = false;
    bool room_for_tickers = false;
};

} // namespace app
} // namespace zor
