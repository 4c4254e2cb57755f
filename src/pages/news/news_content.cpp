#include "pages/news/news_content.h"

#include "model/model.h"
#include "model/news/category.h"
#include "model/news/manager.h"
#include "ui/list_box_item.h"

namespace zor {

news_content::news_content() {
    list.item_activated.connect(utils::function1<void, std::wstring>(this, &news_content::on_select));
}

void news_content::set_rect(const platform::RECT& r) {
    list.set_rect(platform::RECT{r.left + 4, r.top, r.right - 4, r.bottom});
}

void news_content::build() {
    std::vector<std::wstring> names;
    if (auto news = zor::model::news_manager()) {
        for (const auto& c : news->categories())
            names.push_back(c->name());
    }
    names.push_back(L"Tip-Line");
    for (const std::wstring& n : names) {
        // A name given twice in config.xml is listed once.
        if (!list.find_item(n))
            list.add_item(cl::ui::list_box_base::item_ptr(new cl::ui::list_box_item(&list, n, nullptr, n)));
    }
    list.layout();
    loaded = true;
}

void news_content::update(unsigned long now_ms) {
    if (!loaded)
        build();
    list.update(now_ms);
}

void news_content::on_select(std::wstring key) {
    request(content_state(page_name(), key));
}

} // namespace zor
