#include "pages/news/headlines_content.h"

#include "model/config.h"
#include "model/model.h"
#include "model/news/category.h"
#include "model/news/headline.h"
#include "model/news/manager.h"
#include "model/updated_mark.h"
#include "platform/clock.h"
#include "ui/list_box_item.h"
#include "utils/log.h"

namespace zor {

namespace {
const wchar_t* const loading_text = L"Loading...";
const int placeholder_indent = 20;
// The row over a held copy's headlines that says how old they are.
const wchar_t* const updated_key = L"&updated";
} // namespace

headlines_content::headlines_content(const std::wstring& category_name, const std::wstring& subcategory_name,
                                     const std::wstring& headline_id, platform::COLORREF colour)
    : category_name(category_name), colour(colour), subcategory_name(subcategory_name),
      headline_id(headline_id) {
    list.item_activated.connect(utils::function1<void, std::wstring>(this, &headlines_content::on_select));
    const platform::SIZE size = config::headline_picture_size();
    picture_width = size.cx;
    picture_height = size.cy;
}

headlines_content::~headlines_content() = default;

bool headlines_content::is_failed() const {
    return !shown && category && category->is_failed();
}

content_state headlines_content::get_state() const {
    content_state s(page_name(), name());
    if (!shown)
        return s;
    const std::wstring key = list.focused_key();
    const std::size_t amp = key.find(L'&');
    if (amp == std::wstring::npos) {
        s.params[2] = key;
    } else {
        s.params[1] = key.substr(0, amp);
        s.params[2] = key.substr(amp + 1);
    }
    s.extra = list.place_record();
    return s;
}

void headlines_content::resume(const content_state& s) {
    list.keep_place_record(s.extra);
    if (shown)
        list.show_kept_place();
}

cl::ui::list_box_base::item_ptr
headlines_content::headline_row(cl::ui::list_box_base* owner, const std::wstring& key,
                                const boost::shared_ptr<cl::ui::picture>& picture, const std::wstring& text) {
    return cl::ui::list_box_base::item_ptr(
        new cl::ui::list_box_item(owner, key, picture, text, cl::ui::align_left, picture ? picture_width : 0,
                                  picture ? picture_height : 0));
}

void headlines_content::update(unsigned long now_ms) {
    const auto now = static_cast<std::uint32_t>(now_ms);
    // Frame times are 32-bit and may wrap; the difference is what counts.
    if (!shown || now - static_cast<std::uint32_t>(last_refresh) > refresh_ms) {
        refresh(now);
        return;
    }
    if (!pending.empty())
        check_pending();
    list.update(now_ms);
}

void headlines_content::refresh(std::uint32_t now) {
    if (!category) {
        if (auto news = zor::model::news_manager())
            category = news->find_category(category_name, std::wstring());
    }
    if (!category) {
        last_refresh = now;
        return;
    }
    if (category->is_loaded() && !category->is_failed() && (!shown || category->is_modified())) {
        {
            news::headlines_lock lock(category);
            list.clear();
            subcategory_items.clear();
            pending.clear();
            // A held copy says how old it is above its headlines; the row leads nowhere.
            const std::wstring mark = zor::updated_mark(category->copy_time());
            if (!mark.empty() && lock.list()) {
                auto row = boost::shared_ptr<cl::ui::list_box_item>(
                    new cl::ui::list_box_item(&list, updated_key, nullptr, std::wstring()));
                row->set_note(mark);
                row->set_arrow(false);
                list.add_item(row);
            }
            if (lock.list()) {
                for (const auto& h : *lock.list()) {
                    auto picture = h->picture();
                    zor::model::load_missing_picture(picture);
                    list.add_item(headline_row(&list, h->id(), picture, h->text()));
                }
            }
        }
        if (auto subs = category->subcategories()) {
            for (const auto& sub : *subs) {
                auto group = boost::shared_ptr<cl::ui::expanded_block>(
                    new cl::ui::expanded_block(L":" + sub->name(), &list, sub->name()));
                list.add_item(group);
                subcategory_items[sub->name()] = std::make_pair(sub, group.get());
                if (sub->is_loaded() && !sub->is_failed()) {
                    fill(sub, *group);
                } else {
                    // Asked for when the header is tapped; the group says so meanwhile.
                    auto placeholder = boost::shared_ptr<cl::ui::list_box_item>(new cl::ui::list_box_item(
                        group.get(), L"&" + group->key() + L"-loading", nullptr, loading_text));
                    placeholder->set_indent(placeholder_indent);
                    placeholder->set_arrow(false);
                    group->add_item(placeholder);
                }
            }
        }
        list.layout();
        list.show_kept_place();
        utils::log(L"Category loaded: " + category_name);
        category->set_modified(false);
        shown = true;
    }
    // A failed category is asked for again a minute later, not at every frame while nothing is shown.
    const bool retry = category->is_failed() && (!queued_once || now - last_queued >= refresh_ms);
    const bool first = !category->is_loaded() && !category->is_failed() && !queued_once;
    if (!category->is_queued() &&
        (first || retry || (category->is_loaded() && !category->is_failed() && category->is_outdated(now)))) {
        zor::model::load(category);
        queued_once = true;
        last_queued = now;
    }
    last_refresh = now;
}

void headlines_content::fill(const category_ptr& sub, cl::ui::expanded_block& group) {
    if (!sub->is_loaded() || sub->is_failed())
        return;
    std::vector<cl::ui::list_box_base::item_ptr> rows;
    {
        news::headlines_lock lock(sub);
        if (lock.list()) {
            for (const auto& h : *lock.list()) {
                auto picture = h->picture();
                zor::model::load_missing_picture(picture);
                rows.push_back(headline_row(&group, sub->name() + L"&" + h->id(), picture, h->text()));
            }
        }
    }
    group.replace_rows(rows);
    utils::log(L"Subcategory loaded: " + sub->name());
}

void headlines_content::check_pending() {
    for (auto it = pending.begin(); it != pending.end();) {
        const category_ptr& sub = it->second;
        if (!sub->is_loaded()) {
            ++it;
            continue;
        }
        auto found = subcategory_items.find(it->first);
        if (found != subcategory_items.end() && !sub->is_failed())
            fill(sub, *found->second.second);
        it = pending.erase(it);
    }
}

void headlines_content::select(const std::wstring& key) {
    if (key.empty())
        return;
    if (key[0] == L':') {
        auto found = subcategory_items.find(key.substr(1));
        if (found == subcategory_items.end())
            return;
        const category_ptr& sub = found->second.first;
        if (sub->is_queued() || (sub->is_loaded() && !sub->is_failed()))
            return;
        zor::model::load(sub);
        pending[found->first] = sub;
        return;
    }
    if (key[0] == L'&')
        return;
    const std::size_t amp = key.find(L'&');
    const std::wstring sub = amp == std::wstring::npos ? std::wstring() : key.substr(0, amp);
    const std::wstring id = amp == std::wstring::npos ? key : key.substr(amp + 1);
    request(content_state(L"headlines", category_name, sub, id));
}

void headlines_content::on_select(std::wstring key) {
    select(key);
}

} // namespace zor
