#include "pages/settings/settings_content.h"

#include "model/model.h"
#include "model/news/category.h"
#include "model/news/manager.h"
#include "model/options.h"
#include "ui/list_box_item.h"
#include "utils/log.h"

namespace zor {

namespace {
const wchar_t* const terms_key = L"terms_condition";
const wchar_t* const about_key = L"about_item_1";
} // namespace

settings_content::settings_content() {
    options& opts = options::instance();
    add_group(L"4", L"Article font", true, {{L"4.1", L"Small"}, {L"4.2", L"Medium"}, {L"4.3", L"Large"}});
    std::vector<std::pair<std::wstring, std::wstring>> categories;
    if (auto news = zor::model::news_manager()) {
        int n = 0;
        for (const auto& c : news->categories())
            categories.emplace_back(L"2." + std::to_wstring(++n), c->name());
    }
    add_group(L"2", L"Home Headlines", false, categories);
    std::vector<std::pair<std::wstring, std::wstring>> cities;
    for (const std::wstring& id : opts.order()) {
        auto named = opts.cities().find(id);
        cities.emplace_back(id, named != opts.cities().end() ? named->second : id);
    }
    add_group(L"3", L"Home Weather", true, cities);
    add_group(L"1", L"Unit System", true, {{L"1.1", L"Imperial System"}, {L"1.2", L"Metric System"}});
    // Drawn text shows an ampersand as it is.
    list.add_item(cl::ui::list_box_base::item_ptr(
        new cl::ui::list_box_item(&list, terms_key, nullptr, L"Terms & Conditions")));
    auto about =
        boost::shared_ptr<cl::ui::expanded_block>(new cl::ui::expanded_block(L"About", &list, L"About"));
    list.add_item(about);
    auto version = boost::shared_ptr<cl::ui::list_box_item>(
        new cl::ui::list_box_item(about.get(), about_key, nullptr, L"ZOR Panel.\nVersion 1.29"));
    version->set_arrow(false);
    about->add_item(version);

    list.item_activated.connect(utils::function1<void, std::wstring>(this, &settings_content::on_select));
    if (!opts.is_initialized())
        opts.apply_defaults();
    apply();
    if (opts.save_pending) {
        save();
        opts.save_pending = false;
    }
}

void settings_content::add_group(const std::wstring& key, const std::wstring& caption, bool radio,
                                 const std::vector<std::pair<std::wstring, std::wstring>>& options) {
    auto block = boost::shared_ptr<cl::ui::expanded_block>(new cl::ui::expanded_block(key, &list, caption));
    list.add_item(block);
    group g{key, radio, block.get(), {}};
    for (const auto& option : options) {
        // A key given twice (a city listed twice) is shown once.
        if (list.find_item(option.first))
            continue;
        auto row = boost::shared_ptr<cl::ui::settings_block_item>(
            new cl::ui::settings_block_item(option.first, block.get(), 1, option.second));
        if (radio)
            row->show_as_choice();
        block->add_item(row);
        g.options.push_back(row);
    }
    groups.push_back(g);
}

void settings_content::apply() {
    options& opts = options::instance();
    for (group& g : groups) {
        bool one_on = false;
        for (auto& option : g.options) {
            auto flag = opts.settings_map().find(option->key());
            bool on = flag != opts.settings_map().end() && flag->second;
            // A radio group has exactly one choice.
            if (g.radio && one_on)
                on = false;
            one_on = one_on || on;
            option->set_checked(on);
        }
    }
}

bool settings_content::is_on(const std::wstring& key) const {
    for (const group& g : groups)
        for (const auto& option : g.options)
            if (option->key() == key)
                return option->is_checked();
    return false;
}

void settings_content::save() {
    options& opts = options::instance();
    for (const group& g : groups)
        for (const auto& option : g.options)
            opts.flag(option->key()) = option->is_checked();
    if (!opts.save())
        utils::log(L"Options could not be saved");
    changed();
}

void settings_content::on_select(std::wstring key) {
    select(key);
}

void settings_content::select(const std::wstring& key) {
    if (key == terms_key) {
        request(content_state(L"settings", terms_key));
        return;
    }
    for (group& g : groups) {
        for (auto& option : g.options) {
            if (option->key() != key)
                continue;
            if (g.radio) {
                // The choice moves here, whatever the row's own flip did.
                for (auto& other : g.options)
                    other->set_checked(other.get() == option.get());
            }
            save();
            return;
        }
    }
}

content_state settings_content::get_state() const {
    content_state s(page_name(), name());
    // The open groups' keys, each between commas (",4,2,").
    for (const group& g : groups) {
        if (g.block->is_expanded())
            s.params[1] += (s.params[1].empty() ? L"," : L"") + g.key + L",";
    }
    cl::ui::list_box_item_base* row = list.focused_item();
    cl::ui::list_box_base* block = row ? row->as_list() : nullptr;
    s.params[2] = block && !block->focused_key().empty() ? block->focused_key() : list.focused_key();
    s.extra = list.place_record();
    return s;
}

void settings_content::resume(const content_state& s) {
    for (group& g : groups) {
        if (s.params[1].find(L"," + g.key + L",") != std::wstring::npos && !g.options.empty() &&
            !g.block->is_expanded())
            g.block->set_expanded(true);
    }
    bool focused = s.params[2].empty();
    for (group& g : groups) {
        if (!focused && g.block->find_item(s.params[2])) {
            list.focus_item(g.key);
            g.block->focus_item(s.params[2]);
            focused = true;
        }
    }
    if (!focused && list.find_item(s.params[2]))
        list.focus_item(s.params[2]);
    list.keep_place_record(s.extra);
    // A page being built lays its contents out after this: the place is shown then.
    const platform::RECT r = list.get_rect();
    if (r.bottom > r.top)
        list.show_kept_place();
}

void settings_content::remove_city(const std::wstring& id) {
    for (group& g : groups) {
        if (g.key != L"3")
            continue;
        for (auto it = g.options.begin(); it != g.options.end(); ++it) {
            if ((*it)->key() != id)
                continue;
            const bool was_on = (*it)->is_checked();
            g.block->remove_item(id);
            g.options.erase(it);
            options::instance().settings_map().erase(id);
            if (was_on && !g.options.empty())
                g.options.front()->set_checked(true);
            save();
            return;
        }
    }
}

} // namespace zor
