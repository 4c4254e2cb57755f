#include "pages/weather/weather_content.h"

#include "chrome/command_bar.h"
#include "model/model.h"
#include "model/options.h"
#include "model/updated_mark.h"
#include "model/weather/manager.h"
#include "model/weather/weather_day_text.h"
#include "ui/graphics.h"
#include "ui/image_list_box_item.h"
#include "ui/list_box_item.h"
#include "ui/static_fonts.h"
#include "utils/errors.h"

#include <stdexcept>

namespace zor {

const wchar_t* const weather_content::world_view_key = L"world_view";
const wchar_t* const weather_content::add_city_key = L"add_city";
const wchar_t* const weather_content::remove_command = L"Remove city";

namespace {
const platform::COLORREF picture_ground = 0x808080;
const double row_speeds[weather_content::row_count] = {1.0, 0.8, 0.6, 0.4, 0.2};

boost::shared_ptr<weather_item_container> picture_rows(const std::wstring& prefix) {
    auto c = boost::make_shared<weather_item_container>();
    for (int i = 1; i <= weather_content::row_count; ++i) {
        const std::wstring key = prefix + std::to_wstring(i);
        c->rows.emplace_back(new cl::ui::image_list_box_item(
            key, cl::ui::load_resource_image(key), picture_ground, true, weather_content::row_height));
    }
    return c;
}
} // namespace

weather_content::weather_content(options* opts, ui::command_bar* commands) : opts(opts), commands(commands) {
    selector.set_select_on_press(false);
    if (commands)
        commands->left_clicked.connect(
            utils::function1<void, std::wstring>(this, &weather_content::on_command));
}

weather_content::~weather_content() = default;

bool weather_content::is_city(const std::wstring& key) const {
    return !key.empty() && key != world_view_key && key != add_city_key;
}

const weather_item_container* weather_content::container(const std::wstring& key) const {
    auto it = containers.find(key);
    return it == containers.end() ? nullptr : it->second.get();
}

void weather_content::add_item(const std::wstring& key, const std::wstring& caption,
                               const boost::shared_ptr<weather_item_container>& rows_of_item) {
    selector.add_item(
        cl::ui::list_box_base::item_ptr(new cl::ui::list_box_item(&selector, key, nullptr, caption)));
    containers[key] = rows_of_item;
}

void weather_content::build() {
    selector.focus_changed.connect(utils::function1<void, std::wstring>(this, &weather_content::on_selected));
    selector.item_activated.connect(
        utils::function1<void, std::wstring>(this, &weather_content::on_activated));
    for (double speed : row_speeds) {
        row_fade.emplace_back(new cl::ui::move_list_box_item(speed));
        rows.add_item(row_fade.back());
    }
    row_fade.back()->finished.connect(
        utils::function1<void, std::wstring>(this, &weather_content::on_rows_gone));

    add_item(world_view_key, L"World View", picture_rows(L"globe_"));
    add_item(add_city_key, L"Add city", picture_rows(L"city_"));
    if (opts) {
        for (const std::wstring& id : opts->order()) {
            auto named = opts->cities().find(id);
            // A city listed twice in options.xml is shown once.
            if (named == opts->cities().end() || containers.count(id))
                continue;
            auto c = boost::make_shared<weather_item_container>();
            for (int i = 0; i < row_count; ++i) {
                auto day = new cl::ui::weather_list_box_item(cl::ui::fonts::tahoma_22, row_height);
                c->rows.emplace_back(day);
                c->days.push_back(day);
            }
            add_item(id, named->second, c);
            shown_stamp[id] = 0;
        }
    }
    loaded = true;
    // A city removed meanwhile is no longer there to come back to.
    const std::wstring first = containers.count(resume_key) ? resume_key : world_view_key;
    current = previous = first;
    show_container(false);
    layout();
    selector.focus_item(first);
}

void weather_content::resume(const content_state& s) {
    // A link names no item: whatever is selected stays.
    if (s.params[1].empty())
        return;
    resume_key = s.params[1];
    if (loaded && containers.count(resume_key))
        selector.focus_item(resume_key);
}

void weather_content::set_rect(const platform::RECT& r) {
    rect = r;
    selector.set_rect(platform::RECT{r.left, r.top, r.left + selector_width, r.bottom});
    rows.set_rect(platform::RECT{r.left + selector_width, r.top + 4, r.right, r.bottom});
}

void weather_content::layout() {
    selector.layout();
    rows.layout();
    dirty = true;
}

void weather_content::show_container(bool slide) {
    auto it = containers.find(previous);
    if (it == containers.end())
        return;
    // The holders point into these rows: they are kept while shown, even after their city is removed.
    on_panel = it->second;
    const weather_item_container* c = on_panel.get();
    for (int i = 0; i < row_count; ++i) {
        row_fade[i]->set_item(c->rows[i].get());
        if (slide)
            row_fade[i]->slide_in();
    }
    dirty = true;
}

void weather_content::on_selected(std::wstring key) {
    current = key;
    show_command();
    if (current == previous)
        return;
    for (auto& r : row_fade)
        r->slide_out();
}

void weather_content::on_rows_gone(std::wstring) {
    // The slowest row is gone: the panel takes the selected item's rows, which slide in one after another.
    if (!containers.count(current))
        return;
    previous = current;
    show_container(true);
}

void weather_content::on_activated(std::wstring key) {
    request(content_state(page_name(), key));
}

void weather_content::show_command() {
    if (commands && active) {
        const std::wstring label = is_city(current) ? remove_command : L"";
        if (commands->left_label() != label)
            commands->set_left_label(label);
    }
}

void weather_content::activate() {
    active = true;
    show_command();
}

void weather_content::deactivate() {
    active = false;
    if (commands)
        commands->set_left_label(L"");
}

void weather_content::on_command(std::wstring label) {
    if (!active || label != remove_command || !opts)
        return;
    const std::wstring key = selector.focused_key();
    // Only a city of the user's list can go; the two fixed items stay whatever the bar said.
    if (!is_city(key) || !opts->cities().count(key))
        return;
    opts->cities().erase(key);
    opts->order().remove(key);
    if (!opts->save())
        utils::log(L"Options could not be saved");
    removed = key;
    selector.remove_item(removed);
    containers.erase(removed);
    shown_stamp.erase(removed);
    layout();
    selector.focus_item(world_view_key);
    show_command();
    city_removed(removed);
}

void weather_content::refresh_texts() {
    for (auto& s : shown_stamp)
        s.second = 0;
}

void weather_content::fill_city(const std::wstring& id) {
    auto manager = zor::model::weather_manager();
    weather::city_ptr city;
    if (manager && opts && opts->cities().count(id))
        city = manager->get_city(id, opts->cities()[id]);
    if (!city)
        utils::throw_error(std::runtime_error("Weather Content. Invalid city."));
    const weather_item_container* c = container(id);
    // Every row of the selector is a plain list row.
    if (auto* row = static_cast<cl::ui::list_box_item*>(selector.find_item(id)))
        row->set_note(zor::updated_mark(city->copy_time()));
    {
        weather::forecast_lock days(city);
        if (!days)
            return;
        for (std::size_t i = 0; c && i < days->size() && i < c->days.size(); ++i) {
            weather_day_text text(*opts, *(*days)[i]);
            c->days[i]->set_data(forecast_day_label(static_cast<int>(i)), text.t_max_text(true),
                                 text.t_min_text(true), cl::ui::load_resource_image(text.icon_image()));
        }
    }
    dirty = true;
}

void weather_content::update(unsigned long now_ms) {
    if (!loaded)
        build();
    if (is_city(current) && opts && opts->cities().count(current)) {
        if (auto manager = zor::model::weather_manager()) {
            weather::city_ptr city = manager->get_city(current, opts->cities()[current]);
            refresh.request_if_due(*manager, city, now_ms);
            if (city->is_loaded() && city->timestamp() > shown_stamp[current]) {
                fill_city(current);
                shown_stamp[current] = city->timestamp();
            }
            failed = city->is_failed();
        }
    } else {
        failed = false;
    }
    // Anything else on the bar (the tickers' labels run on) is replaced while this page shows.
    show_command();
    rows.update(now_ms);
    selector.update(now_ms);
}

void weather_content::draw(cl::ui::i_graphics& g, bool force) {
    if (!force && !is_dirty())
        return;
    selector.draw(g, true);
    rows.draw(g, true);
    dirty = false;
}

void weather_content::process_event(const cl::app::event& e) {
    if (e.type == cl::app::event::pen_down)
        pressed_on_rows = rows.hit_test(e.pt);
    // Keys and taps choose items; the rows on the right only show (and scroll).
    selector.process_event(e);
}

void weather_content::scroll_y(int dy) {
    if (pressed_on_rows)
        rows.scroll_y(dy);
    else
        selector.scroll_y(dy);
}

} // namespace zor
