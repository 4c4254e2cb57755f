#include "app/page.h"

#include "model/model.h"
#include "model/news/category.h"
#include "model/news/headline.h"
#include "model/news/manager.h"
#include "ui/globe.h"
#include "utils/errors.h"

#include <cstdlib>

namespace zor {
namespace app {

namespace {
using params_t = std::vector<std::wstring>;

const std::wstring& param(const params_t& p, std::size_t i) {
    static const std::wstring empty;
    return i < p.size() ? p[i] : empty;
}

std::vector<std::wstring> footer_categories() {
    std::vector<std::wstring> names;
    if (auto news = zor::model::news_manager()) {
        for (const auto& c : news->categories())
            names.push_back(c->name());
    }
    return names;
}

const platform::COLORREF weather_colour = 0xDCC328;

// An article's tab shows its headline in the category's colour.
ui::navigation_bar::tab_record headline_tab(const i_page_content& c) {
    ui::navigation_bar::tab_record tab{c.name(), c.title(), 0xFFFFFF, c.color(), 2};
    const content_state s = c.get_state();
    if (auto news = zor::model::news_manager()) {
        if (auto category = news->find_category(param(s.params, 0), param(s.params, 1)))
            tab.back_color = category->color();
        if (auto h = news->find_headline(param(s.params, 0), param(s.params, 1), param(s.params, 2)))
            tab.caption = h->text();
    }
    return tab;
}
} // namespace

page::page(const std::shared_ptr<content_factory>& factory)
    : factory(factory), top_bar(new ui::page_header), strip(new content_manager),
      command(new ui::command_bar), tabs(new ui::navigation_bar), ticker_part(new ticker_manager),
      header_part(new ui::header_bar), footer_part(new ui::footer_bar(footer_categories())) {
    utils::trace_scope trace("zor::app::page::page");
    strip->request.connect(utils::function1<void, content_state>(this, &page::on_request));
    strip->back.connect(utils::function0<void>(this, &page::go_back));
    strip->layout_changed.connect(utils::function0<void>(this, &page::on_layout_changed));
    tabs->previous_requested.connect(utils::function0<void>(this, &page::on_previous_content));
    tabs->next_requested.connect(utils::function0<void>(this, &page::on_next_content));
    command->left_clicked.connect(utils::function1<void, std::wstring>(this, &page::on_left_command));
    command->right_clicked.connect(utils::function1<void, std::wstring>(this, &page::on_right_command));
    ticker_part->request.connect(utils::function1<void, content_state>(this, &page::on_request));
    ticker_part->label.connect(utils::function1<void, std::wstring>(this, &page::on_ticker_label));
    header_part->clicked.connect(utils::function2<void, std::wstring, std::wstring>(this, &page::on_link));
    footer_part->clicked.connect(utils::function2<void, std::wstring, std::wstring>(this, &page::on_link));
    preloader.done.connect(utils::function0<void>(this, &page::on_preloaded));

    preloader.set_keys({L"globe_1", L"globe_2", L"globe_3", L"globe_4", L"globe_5"});
    strip->set_ready(false);
    load_main(L"home");
    zor::model::load_home_categories();
}

page::~page() {
    utils::trace_scope trace("zor::app::page::~page");
    // Contents may hold connections to the bars; they go first.
    strip.reset();
}

// Navigation

void page::on_request(content_state s) {
    if (s.page != L"home_video" && s.page != L"home_weather") {
        if (i_page_content* c = strip->current_content())
            history.push_back(c->get_state());
    }
    static const std::pair<const wchar_t*, const wchar_t*> targets[] = {
        {L"home_weather", L"weather"},
        {L"home_video", L"video"},
        {L"home_tipline", L"headlines"},
        {L"news", L"headlines"},
        {L"headlines", L"article"},
        {L"article", L"attach"},
        {L"weather", L"weather_item"},
        {L"home_city", L"weather_item"},
        {L"home_article", L"article"},
        {L"globe", L"continent_map_content"},
        {L"continent_map_content", L"zone_map_content"},
        {L"weather_home", L"weather"},
        {L"zone_map_content", L"weather_item"},
        {L"video_player", L"video_player"},
        {L"settings", L"settings_item"},
    };
    for (const auto& t : targets) {
        if (s.page == t.first) {
            load(t.second, s.params, s.extra);
            return;
        }
    }
}

void page::load(const std::wstring& key, const params_t& params, const std::vector<std::int32_t>& extra) {
    if (key == L"news" || key == L"weather" || key == L"home" || key == L"settings" || key == L"video") {
        load_main(key, params, extra);
        return;
    } else if (key == L"headlines") {
        load_headlines(params);
    } else if (key == L"article") {
        load_article(params);
    } else if (key == L"attach") {
        load_attachment(params);
    } else if (key == L"weather_item") {
        const std::wstring& what = param(params, 0);
        if (what == L"add_city")
            load_add_city(param(params, 1));
        else if (what == L"world_view")
            load_fresh_globe();
        else if (what == L"city_list")
            load_city_list();
        else if (params.size() == 2)
            load_detailed_weather(what, params[1]);
        else
            load_detailed_weather(what, std::wstring());
    } else if (key == L"globe") {
        // A record without its angles starts from the usual view.
        if (extra.size() < 2)
            load_fresh_globe();
        else
            load_globe(extra[0], extra[1]);
    } else if (key == L"continent_map_content") {
        load_continent_map(param(params, 0), param(params, 1));
    } else if (key == L"zone_map_content") {
        load_zone_map(params);
    } else if (key == L"video_player") {
        load_video(param(params, 0), param(params, 1));
    } else if (key == L"settings_item") {
        if (param(params, 0) == L"terms_condition")
            load_terms();
    } else if (key == L"tipline") {
        // The records of the citizen report and the terms name their own pages: back and rotation
        // bring them back where they were.
        load_headlines({param(params, 0), L"", L""});
    } else if (key == L"terms_condition") {
        load_terms();
    }
    // A record of the history: the content shown takes up the reader's place it kept there (the globe's
    // angles built it).
    if (!extra.empty() && key != L"globe")
        if (i_page_content* c = strip->current_content())
            c->resume(content_state(key, param(params, 0), param(params, 1), param(params, 2), extra));
}

void page::go_back() {
    if (history.empty())
        return;
    const content_state entry = history.back();
    history.pop_back();
    load(entry.page, entry.params, entry.extra);
}

void page::on_link(std::wstring key, std::wstring value) {
    if (i_page_content* c = strip->current_content())
        history.push_back(c->get_state());
    load(key, {value, L"", L""}, {});
}

std::vector<content_state> page::save_history() const {
    std::vector<content_state> saved = history;
    if (i_page_content* c = strip->current_content())
        saved.push_back(c->get_state());
    return saved;
}

void page::restore_history(std::vector<content_state> list) {
    history = std::move(list);
    go_back();
}

// Signals of the parts

void page::switch_contents(int direction) {
    const int accepted = tabs->switch_to(direction, -1);
    strip->switch_to(direction, -1);
    if (accepted != -1)
        ticker_part->content_changed();
}

void page::on_previous_content() {
    switch_contents(i_switchable::previous);
}

void page::on_next_content() {
    switch_contents(i_switchable::next);
}

void page::on_left_command(std::wstring label) {
    if (ticker_part->claims_label(label))
        return;
    i_page_content* c = strip->current_content();
    if (label == L"Add") {
        // The citizen report and the city list handle their own "Add" (the list stores the city first, then
        // asks for the weather); anywhere else it leads to the weather.
        if (!c || (c->name() != L"Tip-Line" && c->name() != L"city_list"))
            load(L"weather", {L"", L"", L""}, {});
    } else if (label == L"Search") {
        // An empty field has nothing to look for: the server is not asked.
        if (c && c->name() == L"add_city" &&
            param(c->get_state().params, 1).find_first_not_of(L" \t") == std::wstring::npos)
            return;
        on_request(content_state(L"weather", L"city_list"));
    }
    // "Add city" and the other labels belong to the contents that set them; they listen to the bar.
}

void page::on_right_command(std::wstring label) {
    if (label == L"Back")
        go_back();
}

void page::on_ticker_label(std::wstring label) {
    command->set_left_label(label);
    redraw_contents = true;
}

void page::on_preloaded() {
    // The start-up benchmark reads this line.
    utils::log("Opening pictures shown");
    strip->set_ready(true);
}

void page::on_layout_changed() {
    layout();
}

// Frame

void page::update(unsigned long now_ms) {
    const bool preloading = !preloader.is_finished();
    if (preloading)
        preloader.update(now_ms);
    strip->update(now_ms);
    if (tabs->is_visible())
        tabs->update(now_ms);
    if (header_part->is_visible())
        header_part->update(now_ms);
    if (!preloading)
        ticker_part->update(now_ms);
}

void page::draw(cl::ui::i_graphics& g, bool force) {
    if (!preloader.is_finished())
        preloader.draw(g, force);
    const bool contents_dirty = strip->has_news();
    const bool tickers_dirty =
        ticker_part->is_shown() && ticker_part->is_visible() && ticker_part->is_dirty();
    strip->draw(g, force || redraw_contents || tickers_dirty);
    const bool contents_drawn = force || redraw_contents || tickers_dirty || contents_dirty;
    if (room_for_tickers && contents_drawn) {
        // The band kept for the tickers is wider than the strip of tickers in landscape.
        const platform::RECT strip_area = strip->get_rect();
        const platform::RECT band{rect.left, strip_area.bottom, rect.right,
                                  strip_area.bottom + ticker_height};
        g.fill_rect(band, 0xDADADA);
        g.invalidate(band);
    }
    redraw_contents = false;
    if (command->is_visible())
        command->draw(g, force || contents_drawn);
    if (tabs->is_visible())
        tabs->draw(g, force);
    if (ticker_part->is_visible())
        ticker_part->draw(g, force || contents_drawn);
    if (header_part->is_visible())
        header_part->draw(g, force);
    if (footer_part->is_visible())
        footer_part->draw(g, force);
}

void page::layout() {
    const bool landscape = is_landscape();
    int top = rect.top;
    if (header_part->is_visible()) {
        header_part->set_rect(rect);
        header_part->layout();
        top = header_part->get_rect().bottom;
    }
    if (tabs->is_visible()) {
        tabs->set_rect(platform::RECT{rect.left, top, rect.right, top + navigation_height});
        tabs->layout();
    }
    int bottom = rect.bottom;
    if (command->is_visible()) {
        command->set_rect(rect);
        command->layout();
        bottom = command->get_rect().top;
    }
    if (footer_part->is_visible()) {
        footer_part->set_rect(platform::RECT{rect.left, rect.top, rect.right, bottom});
        footer_part->layout();
        bottom = footer_part->get_rect().top;
    }
    ticker_part->set_portrait(!landscape);
    // The advert strip under an article must not hide the article's last lines.
    layout_contents(ticker_part->is_shown() && ticker_part->get_mode() == ticker_manager::adverts_only);
    strip->layout();
    ticker_part->set_rect(
        platform::RECT{rect.right - ticker_width, bottom - ticker_height, rect.right, bottom});
}

void page::layout_contents(bool ticker_room) {
    int top = rect.top;
    if (tabs->is_visible())
        top = tabs->get_rect().bottom;
    else if (header_part->is_visible())
        top = header_part->get_rect().bottom;
    int bottom = rect.bottom;
    if (footer_part->is_visible())
        bottom = footer_part->get_rect().top;
    else if (command->is_visible())
        bottom = command->get_rect().top;
    room_for_tickers = ticker_room;
    if (ticker_room)
        bottom -= ticker_height;
    strip->set_rect(platform::RECT{rect.left, top, rect.right, bottom});
}

// Input

int page::header_bottom() const {
    return header_part->is_visible() ? header_part->get_rect().bottom : rect.top;
}

bool page::inside_bar(const platform::POINT& p) const {
    const cl::ui::i_control* bars[] = {header_part.get(), footer_part.get(), tabs.get(), command.get(),
                                       ticker_part.get()};
    for (const cl::ui::i_control* bar : bars) {
        if (bar->is_visible() && bar->hit_test(p))
            return true;
    }
    return false;
}

void page::process_event(const cl::app::event& e) {
    if (!preloader.is_finished())
        return;
    // The swipe logic sees every event first.
    cl::ui::i_control::process_event(e);
    const bool pen = e.type == cl::app::event::pen_down || e.type == cl::app::event::pen_up ||
                     e.type == cl::app::event::pen_move;
    if (!pen) {
        if (tabs->is_visible())
            tabs->process_event(e);
        if (command->is_visible())
            command->process_event(e);
        strip->process_event(e);
        return;
    }
    cl::ui::i_control* bars[] = {header_part.get(), footer_part.get(), tabs.get(), command.get(),
                                 ticker_part.get()};
    for (cl::ui::i_control* bar : bars) {
        if (bar->is_visible() && bar->hit_test(e.pt)) {
            bar->process_event(e);
            return;
        }
    }
    // Lists follow the pen themselves (a row lights up under the finger); a tap is also handed over on
    // release by the swipe logic.
    strip->process_event(e);
}

void page::on_key_down(int key) {
    if (key == platform::VK_UP || key == platform::VK_DOWN)
        ticker_part->process_event(cl::app::event(cl::app::event::key_down, key, 0, 0));
}

void page::on_pen_down(const platform::POINT& p) {
    drag_mode = drag_direction::none;
    drag_dx = drag_dy = 0;
    pressing = !(header_part->is_visible() && header_part->hit_test(p));
    press = last_move = p;
}

void page::on_pen_move(const platform::POINT& p) {
    if (!pressing)
        return;
    if (p.y < header_bottom()) {
        release_drag(p);
        return;
    }
    if (drag_mode == drag_direction::none) {
        const int dx = std::abs(p.x - press.x), dy = std::abs(p.y - press.y);
        if (dx > 40 && 27 * dx > 40 * dy)
            drag_mode = drag_direction::horizontal;
        else if (dy >= 28)
            drag_mode = drag_direction::vertical;
    }
    drag_dx = p.x - last_move.x;
    drag_dy = p.y - last_move.y;
    if (drag_mode == drag_direction::horizontal) {
        strip->drag_x(drag_dx);
    } else if (drag_mode == drag_direction::vertical) {
        strip->drag_y(drag_dy);
        ticker_part->drag_y(drag_dx, drag_dy);
    }
    last_move = p;
}

void page::on_pen_up(const platform::POINT& p) {
    if (pressing)
        release_drag(p);
}

void page::release_drag(const platform::POINT& p) {
    const drag_direction mode = drag_mode;
    pressing = false;
    drag_mode = drag_direction::none;
    drag_dx = drag_dy = 0;
    if (mode == drag_direction::none) {
        // A tap reaches the content where the finger went down, unless a bar took it.
        if (!inside_bar(press))
            strip->process_event(cl::app::event(cl::app::event::pen_down, 0, press.x, press.y));
    } else if (mode == drag_direction::horizontal) {
        const int d = p.x - press.x;
        if (d > swipe_distance)
            switch_contents(i_switchable::previous);
        else if (d < -swipe_distance)
            switch_contents(i_switchable::next);
        else
            strip->switch_to(i_switchable::settle, -1);
    }
}

// Loaders

void page::begin_load(const bars& visible) {
    auto apply = [](cl::ui::i_control& bar, bar_state s) {
        if (s != keep)
            bar.set_visible(s == show);
    };
    apply(*header_part, visible.header);
    apply(*tabs, visible.navigation);
    apply(*footer_part, visible.footer);
    apply(*command, visible.command);
    layout();
    tabs->clear();
    strip->clear();
}

void page::add_content(std::unique_ptr<i_page_content> content) {
    ui::navigation_bar::tab_record tab{content->name(), content->title(), 0xFFFFFF, content->color(), 2};
    add_content(std::move(content), tab);
}

void page::add_content(std::unique_ptr<i_page_content> content, const ui::navigation_bar::tab_record& tab) {
    tabs->add_tab(tab);
    strip->add(-1, content.release());
}

void page::finish_load(int first, const labels& commands, int ticker_mode, bool opening) {
    layout_contents(false);
    ticker_part->set_mode(ticker_mode);
    // The page's labels first: a content that knows its own command (the citizen report's "Add" only while
    // its contact is missing) sets it when it is activated below.
    if (commands.left)
        command->set_left_label(*commands.left);
    if (commands.right)
        command->set_right_label(*commands.right);
    tabs->switch_to(i_switchable::jump, first);
    strip->switch_to(i_switchable::jump, first);
    tabs->layout();
    if (opening)
        strip->request_opening();
}

void page::load_main(const std::wstring& key, const params_t& params,
                     const std::vector<std::int32_t>& extra) {
    const content_state kept(key, param(params, 0), param(params, 1), param(params, 2), extra);
    if (i_page_content* c = strip->current_content()) {
        if (c->page_name() == L"home") {
            // The main page is built: only slide to the content asked for.
            // Records name the main contents by their page, not by their tab's name.
            int i = -1;
            for (int k = 0; k < strip->size() && i < 0; ++k)
                if (strip->at(k).page_name() == key)
                    i = k;
            if (i >= 0) {
                tabs->switch_to(i_switchable::jump, i);
                strip->switch_to(i_switchable::jump, i);
                strip->at(i).resume(kept);
            }
            return;
        }
    }
    begin_load(bars{show, show, show, show});
    int first = -1, home = 0;
    int index = 0;
    for (auto& c : factory->main_contents(*this)) {
        if (first < 0 && c->page_name() == key)
            first = index;
        if (c->page_name() == L"home")
            home = index;
        add_content(std::move(c));
        ++index;
    }
    const bool opening = !first_load;
    first_load = false;
    if (first >= 0)
        strip->at(first).resume(kept);
    finish_load(first >= 0 ? first : home, labels{L"", L""}, ticker_manager::news_and_adverts, opening);
}

void page::load_headlines(const params_t& params) {
    begin_load(bars{show, show, hide, show});
    for (auto& c : factory->headlines(*this, params))
        add_content(std::move(c));
    const int found = strip->find(param(params, 0));
    const int first = found >= 0 ? found : 0;
    const bool tipline = strip->size() > first && strip->at(first).name() == L"Tip-Line";
    finish_load(first, labels{tipline ? L"Add" : L"", L"Back"}, ticker_manager::off, true);
}

void page::load_article(const params_t& params) {
    begin_load(bars{show, show, hide, show});
    int first = 0, index = 0;
    for (auto& c : factory->articles(*this, params)) {
        // The last article of the headline asked for wins.
        if (param(c->get_state().params, 2) == param(params, 2))
            first = index;
        const auto tab = headline_tab(*c);
        add_content(std::move(c), tab);
        ++index;
    }
    finish_load(first, labels{L"", L"Back"}, ticker_manager::off, true);
}

void page::load_attachment(const params_t& params) {
    begin_load(bars{show, show, hide, show});
    for (auto& c : factory->attachment(*this, params)) {
        const auto tab = headline_tab(*c);
        add_content(std::move(c), tab);
    }
    finish_load(0, labels{L"", L"Back"}, ticker_manager::off, true);
}

void page::load_continent_map(const std::wstring& code, const std::wstring& name) {
    begin_load(bars{keep, keep, keep, keep});
    for (auto& c : factory->continent_map(*this, code, name))
        add_content(std::move(c), ui::navigation_bar::tab_record{name, name, 0xFFFFFF, weather_colour, 2});
    finish_load(0, labels{L"", std::nullopt}, ticker_manager::off, true);
}

void page::load_zone_map(const params_t& params) {
    begin_load(bars{keep, keep, keep, keep});
    for (auto& c : factory->zone_map(*this, params))
        add_content(std::move(c));
    finish_load(0, labels{std::nullopt, L"Back"}, ticker_manager::off, true);
}

void page::load_video(const std::wstring& name, const std::wstring& clip) {
    begin_load(bars{keep, keep, keep, keep});
    for (auto& c : factory->video(*this, name, clip))
        add_content(std::move(c), ui::navigation_bar::tab_record{name, L"ZOR international", 0xFFFFFF, 0, 2});
    finish_load(0, labels{std::nullopt, L"Back"}, ticker_manager::off, false);
}

// The usual view looks over the Atlantic, where no continent faces the user: the globe opens turned the
// degree or two to the nearest one, so that the first tap or Enter opens a map.
void page::load_fresh_globe() {
    int tilt = 10, spin = 320;
    cl::ui::globe::nearest_facing(tilt, spin);
    load_globe(tilt, spin);
}

void page::load_globe(int angle_a, int angle_b) {
    begin_load(bars{keep, keep, keep, keep});
    for (auto& c : factory->globe(*this, angle_a, angle_b))
        add_content(std::move(c));
    finish_load(0, labels{L"", L"Back"}, ticker_manager::off, true);
}

void page::load_add_city(const std::wstring& search) {
    begin_load(bars{keep, show, hide, show});
    for (auto& c : factory->add_city(*this, search))
        add_content(std::move(c));
    finish_load(0, labels{L"Search", L"Back"}, ticker_manager::off, true);
}

void page::load_detailed_weather(const std::wstring& city, const std::wstring& second) {
    begin_load(bars{keep, keep, keep, keep});
    for (auto& c : factory->detailed_weather(*this, city, second))
        add_content(std::move(c));
    finish_load(0, labels{L"", L"Back"}, ticker_manager::off, true);
}

void page::load_city_list() {
    begin_load(bars{keep, keep, keep, keep});
    for (auto& c : factory->city_list(*this))
        add_content(std::move(c));
    finish_load(0, labels{std::nullopt, L"Back"}, ticker_manager::off, true);
}

void page::load_terms() {
    begin_load(bars{show, show, hide, show});
    for (auto& c : factory->terms(*this))
        add_content(std::move(c));
    finish_load(0, labels{std::nullopt, L"Back"}, ticker_manager::off, false);
}

} // namespace app
} // namespace zor
