#include "model/news/manager.h"

#include "model/config.h"

namespace news {

const category_list& manager::categories() {
    if (!list.empty())
        return list;
    zor::config::items entries =
        zor::config::instance().get_items(zor::config::internet, zor::config::categories);
    for (const zor::config::item& e : entries) {
        const std::wstring name = zor::config::attribute(e, zor::config::name);
        const std::wstring url = zor::config::attribute(e, zor::config::url);
        const platform::COLORREF color = zor::config::color(e);
        if (e.children.empty()) {
            list.push_back(category_ptr(new category(name, url, color)));
            continue;
        }
        boost::shared_ptr<category_list> subs(new category_list);
        for (const zor::config::item& s : e.children)
            subs->push_back(category_ptr(new category(zor::config::attribute(s, zor::config::name),
                                                      zor::config::attribute(s, zor::config::url),
                                                      zor::config::color(s))));
        list.push_back(category_ptr(new structured_category(name, url, color, subs)));
    }
    return list;
}

category_ptr manager::find_category(const std::wstring& name, const std::wstring& sub_name) {
    for (const category_ptr& c : categories()) {
        if (c->name() != name)
            continue;
        if (sub_name.empty())
            return c;
        if (auto subs = c->subcategories())
            for (const category_ptr& s : *subs)
                if (s->name() == sub_name)
                    return s;
        return nullptr;
    }
    return nullptr;
}

headline_ptr manager::find_headline(const std::wstring& name, const std::wstring& sub_name,
                                    const std::wstring& id) {
    headlines_lock lock(find_category(name, sub_name));
    if (!lock.list())
        return nullptr;
    for (const headline_ptr& h : *lock.list())
        if (h->id() == id)
            return h;
    return nullptr;
}

} // namespace news
