#include "pages/news/home_content.h"

#include "chrome/ticker_manager.h"
#include "model/config.h"
#include "model/model.h"
#include "model/news/category.h"
#include "model/news/headline.h"
#include "model/news/manager.h"
#include "model/options.h"
#include "model/updated_mark.h"
#include "ui/block_list_box_item.h"
#include "ui/graphics.h"
#include "ui/image_list_box_item2.h"
#include "ui/list_box_item.h"
#include "ui/resources.h"
#include "utils/log.h"

#include <cstdlib>

namespace zor {

const wchar_t* const home_content::tipline_key = L"Tip-Line";
const wchar_t* const home_content::weather_key = L"weather";
const wchar_t* const home_content::video_key = L"video";

namespace {

const wchar_t* const headline_separator = L"::";

boost::shared_ptr<cl::ui::picture> resource_picture(const wchar_t* key) {
    return boost::shared_ptr<cl::ui::picture>(new cl::ui::picture(
        cl::ui::load_image(cl::ui::resources::path(key)), false, cl::ui::picture::top_left));
}

cl::ui::list_box_base::item_ptr shortcut(const wchar_t* key, const wchar_t* image,
                                         cl::ui::list_box_base* owner) {
    return cl::ui::list_box_base::item_ptr(new cl::ui::image_list_box_item2(
        key, owner, resource_picture(image), resource_picture((std::wstring(image) + L"_sel").c_str())));
}

bool is_shortcut(const std::wstring& key) {
    return key == home_content::tipline_key || key == home_content::weather_key ||
           key == home_content::video_key;
}

} // namespace

home_content::home_content(options* settings, ticker_manager* tickers)
    : settings(settings), tickers(tickers) {
    list.item_activated.connect(utils::function1<void, std::wstring>(this, &home_content::on_select));
    try {
        clip = config::instance().video_clip();
    } catch (const std::exception&) {
        // No configuration: no news clip to offer.
    }
    const platform::SIZE size = config::headline_picture_size();
    picture_width = size.cx;
    picture_height = size.cy;
}

home_content::~home_content() = default;

void home_content::activate() {
    if (tickers)
        tickers->set_visible(true);
    layout_changed();
}

void home_content::deactivate() {
    if (tickers)
        tickers->set_visible(false);
    layout_changed();
}

void home_content::reset() {
    list.clear();
    loaded = false;
}

void home_content::set_rect(const platform::RECT& r) {
    rect = r;
    if (r.bottom - r.top <= r.right - r.left) {
        layout_mode = 0;
        list.set_rect(platform::RECT{r.left, r.top, r.right - tile_column_width, r.bottom});
    } else {
        layout_mode = 1;
        list.set_rect(r);
    }
}

platform::RECT home_content::weather_tile_rect() const {
    return weather_tile ? weather_tile->get_rect() : platform::RECT{};
}

platform::RECT home_content::tipline_tile_rect() const {
    return tipline_tile ? tipline_tile->get_rect() : platform::RECT{};
}

void home_content::update(unsigned long now_ms) {
    if (!loaded)
        build();
    // The tickers are drawn over the list's bottom: the last section can still be scrolled above them. Known
    // before the sections are refreshed, so that a resumed place is not cut short by the list's end.
    int covered = 0;
    if (tickers && tickers->is_shown()) {
        const platform::RECT strip = tickers->get_rect();
        const platform::RECT own = list.get_rect();
        if (strip.top < own.bottom && strip.bottom > strip.top && strip.left < own.right &&
            strip.right > own.left)
            covered = own.bottom - strip.top;
    }
    list.set_end_space(covered);
    const auto now = static_cast<std::uint32_t>(now_ms);
    // Frame times are 32-bit and may wrap; the difference is what counts.
    if (refresh_due || sections.size() < home_categories.size() ||
        now - static_cast<std::uint32_t>(last_check) > refresh_ms)
        refresh(now);
    list.update(now_ms);
    dirty = dirty || list.is_dirty();
    note_pictures_shown();
}

void home_content::note_pictures_shown() {
    if (pictures_noted || sections.empty())
        return;
    for (const auto& p : section_pictures)
        if (!p->is_loaded())
            return;
    // The start-up benchmark reads this line.
    utils::log("Home shows its pictures");
    pictures_noted = true;
    section_pictures.clear();
}

content_state home_content::get_state() const {
    content_state s = i_page_content::get_state();
    const int top = list.top_row();
    int above = 0;
    for (int i = 0; loaded && i < top; ++i)
        above += is_shortcut(list.items()[i]->key()) ? 0 : 1;
    if (above > 0)
        s.extra = {above};
    return s;
}

void home_content::resume(const content_state& s) {
    if (s.extra.empty())
        return;
    resume_section = s.extra[0];
    // Else the first refresh, which builds the sections, shows it.
    if (!sections.empty())
        show_resumed();
}

void home_content::show_resumed() {
    if (resume_section < 0 || !loaded)
        return;
    for (const auto& c : home_categories)
        if (!sections.count(c->name()) && !c->is_failed())
            return;
    const auto& rows = list.items();
    int row = 0, seen = 0;
    while (row < static_cast<int>(rows.size()) && (is_shortcut(rows[row]->key()) || seen++ < resume_section))
        ++row;
    list.show_from(std::min(row, static_cast<int>(rows.size()) - 1));
    resume_section = -1;
}

void home_content::build() {
    weather_tile.reset();
    tipline_tile.reset();
    if (is_landscape()) {
        try {
            weather_tile = resource_picture(L"home_weather");
            tipline_tile = resource_picture(L"home_tipline");
        } catch (const std::exception& e) {
            // Without the tiles' pictures the shortcuts become rows, so they stay within reach.
            utils::log(std::string("Home tiles missing: ") + e.what());
            weather_tile.reset();
            tipline_tile.reset();
        }
    }
    if (!weather_tile || !tipline_tile) {
        list.add_item(shortcut(tipline_key, L"tipline_link", &list));
        list.add_item(shortcut(weather_key, L"weather_link", &list));
    }
    // The news clip closes the page in both orientations (there is no tile for it).
    if (!clip.empty())
        list.add_item(shortcut(video_key, L"video_link", &list));
    home_category_names.clear();
    home_categories.clear();
    sections.clear();
    layout();
    loaded = true;
    refresh_due = true;
}

void home_content::refresh(std::uint32_t now) {
    if (home_categories.empty()) {
        home_category_names = settings ? settings->home_categories() : std::vector<std::wstring>();
        if (auto news = zor::model::news_manager()) {
            for (const auto& name : home_category_names)
                if (auto c = news->find_category(name, std::wstring()))
                    home_categories.push_back(c);
        }
    }
    for (const auto& c : home_categories)
        if (c->is_loaded() && !c->is_failed() && (!sections.count(c->name()) || c->is_modified()))
            rebuild_section(c);
    for (const auto& c : home_categories)
        if (!c->is_queued() && (!c->is_loaded() || c->is_outdated(now)))
            zor::model::load(c);
    last_check = now;
    refresh_due = false;
    show_resumed();
}

void home_content::rebuild_section(const category_ptr& category) {
    news::headlines_lock lock(category);
    if (!category->is_loaded())
        return;
    const std::wstring name = category->name();
    if (list.find_item(name)) {
        utils::log(L"Category refreshed: " + name);
        list.remove_item(name);
    }
    auto section =
        boost::shared_ptr<cl::ui::block_list_box_item>(new cl::ui::block_list_box_item(name, &list));
    section->set_title(name);
    section->set_note(zor::updated_mark(category->copy_time()));
    const std::wstring before = section_successor(category);
    if (!before.empty() && list.find_item(before))
        list.insert_before(section, before);
    else
        list.add_item(section);
    if (lock.list()) {
        const std::size_t shown = std::min<std::size_t>(2, lock.list()->size());
        for (std::size_t i = 0; i < shown; ++i) {
            const auto& h = (*lock.list())[i];
            auto picture = h->picture();
            zor::model::load_missing_picture(picture);
            if (picture && !pictures_noted)
                section_pictures.push_back(picture);
            section->add_item(cl::ui::list_box_base::item_ptr(new cl::ui::list_box_item(
                section.get(), name + headline_separator + h->id(), picture, h->text(), cl::ui::align_left,
                picture ? picture_width : 0, picture ? picture_height : 0)));
        }
    }
    list.layout();
    category->set_modified(false);
    // The start-up benchmark reads this line.
    if (sections.insert(name).second)
        utils::log(L"Home shows " + name);
}

std::wstring home_content::section_successor(const category_ptr& category) const {
    std::size_t position = 0;
    while (position < home_categories.size() && home_categories[position] != category)
        ++position;
    if (position < 2 && list.find_item(position == 0 ? tipline_key : weather_key))
        return position == 0 ? tipline_key : weather_key;
    // Sections keep the order of the settings whichever category loads first.
    for (std::size_t later = position + 1; later < home_categories.size(); ++later)
        if (sections.count(home_categories[later]->name()))
            return home_categories[later]->name();
    return list.find_item(video_key) ? video_key : std::wstring();
}

void home_content::layout() {
    list.layout();
    if (is_landscape() && weather_tile && tipline_tile) {
        const int left = list.get_rect().right + 5;
        weather_tile->set_rect(platform::RECT{left, rect.top + 2, left, rect.top + 2});
        weather_tile->layout();
        const int below = weather_tile->get_rect().bottom + 2;
        tipline_tile->set_rect(platform::RECT{left, below, left, below});
        tipline_tile->layout();
    }
    dirty = true;
}

void home_content::draw(cl::ui::i_graphics& g, bool) {
    list.draw(g, true);
    if (is_landscape() && weather_tile && tipline_tile) {
        weather_tile->draw(g, true);
        tipline_tile->draw(g, true);
    }
    dirty = false;
}

void home_content::process_event(const cl::app::event& e) {
    const bool pen = e.type == cl::app::event::pen_down || e.type == cl::app::event::pen_up ||
                     e.type == cl::app::event::pen_move;
    const bool at_origin = e.pt.x == 0 && e.pt.y == 0;
    if (pen && !at_origin && !cl::ui::contains(list.get_rect(), e.pt)) {
        i_control::process_event(e);
        return;
    }
    list.process_event(e);
    dirty = true;
}

void home_content::on_pen_down(const platform::POINT& p) {
    if (!is_landscape())
        return;
    if (cl::ui::contains(weather_tile_rect(), p) || cl::ui::contains(tipline_tile_rect(), p))
        pen_down_point = p;
    else
        pen_down_point = platform::POINT{-1, -1};
}

void home_content::on_pen_up(const platform::POINT& p) {
    if (!is_landscape() || pen_down_point.x < 0)
        return;
    if (std::abs(p.x - pen_down_point.x) > 9 || std::abs(p.y - pen_down_point.y) > 9)
        return;
    pen_down_point = platform::POINT{-1, -1};
    if (cl::ui::contains(weather_tile_rect(), p))
        select(weather_key);
    else if (cl::ui::contains(tipline_tile_rect(), p))
        select(tipline_key);
}

void home_content::select(const std::wstring& key) {
    if (key == tipline_key) {
        request(content_state(L"home_tipline", tipline_key));
    } else if (key == weather_key) {
        request(content_state(L"home_weather", weather_key));
    } else if (key == video_key) {
        if (!clip.empty())
            request(content_state(L"video_player", video_key, clip));
    } else {
        const std::size_t at = key.find(headline_separator);
        if (at != std::wstring::npos)
            request(content_state(L"home_article", key.substr(0, at), L"", key.substr(at + 2)));
    }
}

void home_content::on_select(std::wstring key) {
    select(key);
}

} // namespace zor
