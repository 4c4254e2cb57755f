#include "pages/weather/detailed_weather_content.h"

#include "chrome/command_bar.h"
#include "model/model.h"
#include "model/options.h"
#include "model/weather/manager.h"
#include "model/weather/weather_day_text.h"
#include "ui/graphics.h"
#include "ui/list_box_item.h"
#include "ui/static_fonts.h"
#include "utils/log.h"

#include <algorithm>
#include <set>

namespace zor {

const wchar_t* const detailed_weather_content::add_command = L"Add city";

detailed_weather_content::detailed_weather_content(const std::wstring& id, const std::wstring& name,
                                                   options* opts, ui::command_bar* commands)
    : city_id(id), city_name(name), opts(opts), commands(commands) {
    if (opts && opts->cities().count(id))
        city_name = opts->cities()[id];
    if (auto manager = zor::model::weather_manager())
        city = manager->get_city(id, city_name);
    if (commands)
        commands->left_clicked.connect(
            utils::function1<void, std::wstring>(this, &detailed_weather_content::on_command));
    // Until the forecast arrives the rows say so, in place of the page's wait icon.
    for (const wchar_t* key : {L"loading 1", L"loading 2", L"loading 3"})
        list.add_item(detail_ptr(new detailed_weather_list_box_item(&list, key, L"")));
}

bool detailed_weather_content::is_loaded() const {
    return true;
}

bool detailed_weather_content::is_failed() const {
    return city && city->is_failed() && keys.empty();
}

const std::vector<detailed_weather_content::detail_ptr>&
detailed_weather_content::details(int which, const std::wstring& day) const {
    static const std::vector<detail_ptr> none;
    const auto& groups = which == 0 ? group_a : group_b;
    auto it = groups.find(day);
    return it == groups.end() ? none : it->second;
}

content_state detailed_weather_content::get_state() const {
    content_state s(page_name(), city_id, city_name);
    if (!keys.empty())
        s.extra = list.place_record();
    return s;
}

void detailed_weather_content::resume(const content_state& s) {
    list.keep_place_record(s.extra);
    if (!keys.empty())
        list.show_kept_place();
}

void detailed_weather_content::build() {
    {
        weather::forecast_lock forecast(city);
        if (!forecast)
            return;
        read_days(*forecast);
    }
    show_group();
    if (!keys.empty())
        list.show_kept_place();
}

void detailed_weather_content::read_days(const std::vector<weather::day_ptr>& forecast) {
    keys.clear();
    group_a.clear();
    group_b.clear();
    day_items.clear();
    std::set<std::wstring> taken;
    for (std::size_t i = 0; i < forecast.size(); ++i) {
        const weather::forecast_day& day = *forecast[i];
        weather_day_text text(*opts, day);
        // Days are keyed by their weekday; a malformed date or a second week falls back to the position,
        // since keys must be unique in a list.
        std::wstring key = text.weekday();
        if (key.empty() || taken.count(key))
            key = L"day " + std::to_wstring(i);
        taken.insert(key);
        keys.push_back(key);
        auto item = new cl::ui::list_box_item(&list, key, nullptr, forecast_day_label(static_cast<int>(i)));
        item->set_arrow(false);
        day_items[key] = cl::ui::list_box_base::item_ptr(item);

        auto detail = [&](const wchar_t* suffix, const wchar_t* caption, const std::wstring& value,
                          const cl::ui::image_ptr& icon) {
            detail_ptr row(new detailed_weather_list_box_item(&list, key + L"/" + suffix, caption));
            row->set_value(value, icon);
            return row;
        };
        group_a[key] = {detail(L"a1", L"Temperature", text.t_max_text(true) + L" / " + text.t_min_text(true),
                               cl::ui::load_resource_image(text.icon_image())),
                        detail(L"a2", L"Sky", text.sky(), nullptr),
                        detail(L"a3", L"Precipitation", text.precipitation(), nullptr)};
        group_b[key] = {detail(L"b1", L"Air Quality", text.air_quality_text(), nullptr),
                        detail(L"b2", L"UV-index", text.uv_text(), nullptr),
                        detail(L"b3", L"WindSpeed", text.wind_text(), nullptr)};
    }
}

void detailed_weather_content::show_group() {
    // The focus stays on its day, or on the detail in the same place of the other group; the row that had
    // it drops its highlight before it leaves the list.
    std::wstring focus = list.focused_key();
    const std::size_t slash = focus.rfind(L'/');
    if (slash != std::wstring::npos && slash + 1 < focus.size())
        focus[slash + 1] = group == 0 ? L'a' : L'b';
    list.focus_item(std::wstring());
    list.clear();
    const auto& groups = group == 0 ? group_a : group_b;
    for (const std::wstring& key : keys) {
        list.add_item(day_items[key]);
        for (const auto& row : groups.at(key))
            list.add_item(row);
    }
    if (list.find_item(focus))
        list.focus_item(focus);
    // The new details slide in from the right.
    slide.set({static_cast<double>(slide_distance), 0.0});
    dirty = true;
}

void detailed_weather_content::show_command() {
    if (!commands)
        return;
    const bool missing = opts && !opts->cities().count(city_id);
    commands->set_left_label(missing ? add_command : L"");
}

void detailed_weather_content::update(unsigned long now_ms) {
    const auto now = static_cast<std::uint32_t>(now_ms);
    if (!started) {
        started = true;
        switched_at = now;
    }
    if (!command_shown) {
        // The page sets its own labels after the contents are made: the command goes on at the first frame.
        command_shown = true;
        show_command();
    }
    auto manager = zor::model::weather_manager();
    if (city && manager) {
        refresh.request_if_due(*manager, city, now_ms);
        if (city->is_loaded() && city->timestamp() > shown_stamp) {
            shown_stamp = city->timestamp();
            build();
        }
    }
    if (now - switched_at >= switch_ms) {
        switched_at = now;
        if (!keys.empty()) {
            group = 1 - group;
            show_group();
        }
    }
    if (slide.update(now_ms)) {
        const int offset = static_cast<int>(slide.value(0));
        for (const auto& groups : {&group_a, &group_b})
            for (const auto& day : *groups)
                for (const auto& row : day.second)
                    row->set_offset(offset);
        dirty = true;
    }
    list.update(now_ms);
}

void detailed_weather_content::set_rect(const platform::RECT& r) {
    rect = r;
    list.set_rect(platform::RECT{r.left, std::min(r.bottom, r.top + heading_height), r.right, r.bottom});
    dirty = true;
}

platform::RECT detailed_weather_content::heading_area() const {
    return platform::RECT{rect.left, rect.top, rect.right, list.get_rect().top};
}

std::wstring detailed_weather_content::heading() const {
    const std::wstring known = city ? city->name() : std::wstring();
    return known.empty() ? city_name : known;
}

void detailed_weather_content::draw(cl::ui::i_graphics& g, bool force) {
    if (!force && !is_dirty())
        return;
    const platform::RECT area = heading_area();
    g.fill_rect(area, cl::ui::list_box2::ground);
    g.draw_text(heading(), platform::RECT{area.left + 10, area.top, area.right - 10, area.bottom},
                cl::ui::fonts::tahoma_26_bold, 0x000000, cl::ui::align_left_vcenter);
    g.invalidate(area);
    list.draw(g, true);
    dirty = false;
}

void detailed_weather_content::deactivate() {
    if (commands)
        commands->set_left_label(L"");
}

void detailed_weather_content::on_command(std::wstring label) {
    if (label != add_command || !opts)
        return;
    if (commands)
        commands->set_left_label(L"");
    if (opts->cities().count(city_id))
        return;
    std::wstring stored = city && !city->name().empty() ? city->name() : city_name;
    opts->cities()[city_id] = stored.empty() ? city_id : stored;
    opts->order().push_back(city_id);
    opts->save_pending = true;
    // Written now too: the page stays open, and the city must not be lost if the panel stops here.
    if (!opts->save())
        utils::log(L"Options could not be saved");
}

} // namespace zor
