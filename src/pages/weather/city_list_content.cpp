#include "pages/weather/city_list_content.h"

#include "chrome/command_bar.h"
#include "model/model.h"
#include "model/options.h"
#include "model/weather/manager.h"
#include "pages/weather/forecast_refresh.h"
#include "ui/list_box_item.h"
#include "ui/static_fonts.h"
#include "utils/log.h"

namespace zor {

const wchar_t* const city_list_content::empty_text = L"No city matched the query ";
const wchar_t* const city_list_content::add_command = L"Add";

city_list_content::city_list_content(const std::wstring& query, options* opts, ui::command_bar* commands)
    : query(query), opts(opts), commands(commands) {
    if (auto manager = zor::model::weather_manager())
        search = manager->create_search(query);
    if (commands)
        commands->left_clicked.connect(
            utils::function1<void, std::wstring>(this, &city_list_content::on_command));
}

void city_list_content::set_rect(const platform::RECT& r) {
    rect = r;
    list.set_rect(r);
}

void city_list_content::fill() {
    {
        weather::result_lock found(search);
        empty = !found || found->empty();
        if (found) {
            for (const auto& city : *found) {
                // The server may list a city twice; keys are unique in a list.
                if (!city || city->id().empty() || list.find_item(city->id()))
                    continue;
                list.add_item(cl::ui::list_box_base::item_ptr(new cl::ui::list_box_item(
                    &list, city->id(), nullptr, city->name() + L"\n" + city->country())));
            }
        }
    }
    dirty = true;
}

void city_list_content::update(unsigned long now_ms) {
    list.update(now_ms);
    if (built) {
        std::wstring label;
        if (const auto* item = list.focused_item()) {
            chosen_id = item->key();
            const auto* row = static_cast<const cl::ui::list_box_item*>(item);
            chosen_name = row->caption().substr(0, row->caption().find(L'\n'));
            label = add_command;
        }
        if (commands && commands->left_label() != label)
            commands->set_left_label(label);
        return;
    }
    if (!search)
        return;
    if (search->is_loaded()) {
        fill();
        built = true;
        return;
    }
    // A failed search is asked for again after a pause (from the end of the attempt), not at every frame.
    const auto now = static_cast<std::uint32_t>(now_ms);
    if (search->is_queued())
        requested_at = now;
    const bool wait = search->is_failed() && requested && now - requested_at < forecast_refresh::retry_ms;
    if (!search->is_queued() && !wait) {
        if (auto manager = zor::model::weather_manager()) {
            manager->load_search(search);
            requested = true;
            requested_at = now;
        }
    }
}

void city_list_content::draw(cl::ui::i_graphics& g, bool force) {
    if (!force && !is_dirty())
        return;
    list.draw(g, true);
    if (built && empty) {
        const int h = g.measure_text(empty_text, cl::ui::fonts::tahoma_28, rect.right - rect.left).cy;
        const int top = (rect.top + rect.bottom - h) / 2;
        g.draw_text(empty_text, platform::RECT{rect.left, top, rect.right, top + h}, cl::ui::fonts::tahoma_28,
                    0x000000, cl::ui::align_center);
    }
    dirty = false;
}

void city_list_content::deactivate() {
    if (commands)
        commands->set_left_label(L"");
}

void city_list_content::on_command(std::wstring label) {
    if (label != add_command || chosen_id.empty() || !opts)
        return;
    if (!opts->cities().count(chosen_id)) {
        opts->cities()[chosen_id] = chosen_name;
        opts->order().push_back(chosen_id);
        opts->save_pending = true;
        // Written now too: the city must not be lost if the panel stops before the settings page saves.
        if (!opts->save())
            utils::log(L"Options could not be saved");
    }
    request(content_state(L"weather_home", L"weather"));
}

} // namespace zor
