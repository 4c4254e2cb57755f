#include "app/content_factory.h"

#include "app/unbuilt_content.h"
#include "model/model.h"
#include "model/news/manager.h"

namespace zor {
namespace app {

content_factory::content_list available_contents::main_contents(page&) {
    content_list list;
    list.emplace_back(new unbuilt_content(L"home", L"Home", L"Home", 0x0000FF));
    list.emplace_back(new unbuilt_content(L"news", L"News", L"news", 0));
    list.emplace_back(new unbuilt_content(L"weather", L"Weather", L"weather", 0xDCC328));
    list.emplace_back(new unbuilt_content(L"settings", L"Options", L"Settings", 0x808080));
    return list;
}

content_factory::content_list available_contents::headlines(page&, const params&, bool) {
    content_list list;
    if (auto news = zor::model::news_manager()) {
        for (const auto& c : news->categories())
            list.emplace_back(new unbuilt_content(L"headlines", c->name(), c->name(), c->color()));
    }
    list.emplace_back(new unbuilt_content(L"tipline", L"Tip-Line", L"Tip-Line", 0x0080FF));
    return list;
}

} // namespace app
} // namespace zor
