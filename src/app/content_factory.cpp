#include "app/content_factory.h"

#include "app/page.h"
#include "model/model.h"
#include "model/news/category.h"
#include "model/news/headline.h"
#include "model/news/manager.h"
#include "model/options.h"
#include "pages/maps/continent_map_content.h"
#include "pages/maps/zone_map_content.h"
#include "pages/news/article_content.h"
#include "pages/news/headlines_content.h"
#include "pages/news/home_content.h"
#include "pages/news/news_content.h"
#include "pages/settings/settings_content.h"
#include "pages/settings/terms_condition_content.h"
#include "pages/tipline/tipline_content.h"
#include "pages/video/video_player_content.h"
#include "pages/weather/add_city_content.h"
#include "pages/weather/city_list_content.h"
#include "pages/weather/detailed_weather_content.h"
#include "pages/weather/weather_content.h"
#include "pages/world/globe_content.h"
#include "platform/module.h"
#include "platform/text.h"
#include "ui/main_window.h"

namespace zor {
namespace app {

content_factory::content_list available_contents::main_contents(page& p) {
    content_list list;
    auto home = new home_content(&options::instance(), &p.tickers());
    list.emplace_back(home);
    list.emplace_back(new news_content);
    auto weather = new weather_content(&options::instance(), &p.commands());
    list.emplace_back(weather);
    auto settings = new settings_content;
    // A changed unit system or home city shows in the header at once, and in the forecasts.
    ui::header_bar* header = &p.header();
    // The home page's sections follow the ticked categories.
    settings->changed.connect(utils::function0<void>([header, home, weather] {
        header->refresh();
        home->reset();
        weather->refresh_texts();
    }));
    // A removed city leaves the "Home Weather" choices, and the header when it was the home city.
    weather->city_removed.connect(utils::function1<void, std::wstring>([settings, header](std::wstring id) {
        settings->remove_city(id);
        header->refresh();
    }));
    list.emplace_back(settings);
    return list;
}

content_factory::content_list available_contents::headlines(page& p, const params& requested) {
    content_list list;
    if (auto news = zor::model::news_manager()) {
        for (const auto& c : news->categories()) {
            // The category asked for keeps the sub-category and headline it was left at.
            const bool asked = !requested.empty() && requested[0] == c->name();
            list.emplace_back(
                new headlines_content(c->name(), asked && requested.size() > 1 ? requested[1] : L"",
                                      asked && requested.size() > 2 ? requested[2] : L"", c->color()));
        }
    }
    list.emplace_back(new tipline_content(&p.commands()));
    return list;
}

content_factory::content_list available_contents::articles(page& p, const params& requested) {
    content_list list;
    auto news = zor::model::news_manager();
    if (!news || requested.size() < 2)
        return list;
    // One article per headline of the category or sub-category, in its order.
    news::category_ptr category = news->find_category(requested[0], requested[1]);
    news::headlines_lock lock(category);
    if (!lock.list())
        return list;
    for (const auto& h : *lock.list())
        list.emplace_back(new article_content(requested[0], requested[1], h->id(), &p.tickers()));
    return list;
}

content_factory::content_list available_contents::add_city(page& p, const std::wstring& search) {
    content_list list;
    cl::ui::main_window* window = cl::ui::current_window();
    list.emplace_back(new add_city_content(window ? window->get_edit() : nullptr, search, &p.commands()));
    return list;
}

content_factory::content_list available_contents::detailed_weather(page& p, const std::wstring& city,
                                                                   const std::wstring& second) {
    content_list list;
    if (!city.empty())
        list.emplace_back(new detailed_weather_content(city, second, &options::instance(), &p.commands()));
    return list;
}

content_factory::content_list available_contents::city_list(page& p) {
    content_list list;
    std::wstring query;
    const auto& history = p.get_history();
    if (!history.empty() && history.back().params.size() > 1 && history.back().params[0] == L"add_city")
        query = history.back().params[1];
    else if (cl::ui::main_window* window = cl::ui::current_window())
        query = window->get_edit() ? window->get_edit()->get_text() : std::wstring();
    list.emplace_back(new city_list_content(query, &options::instance(), &p.commands()));
    return list;
}

content_factory::content_list available_contents::continent_map(page&, const std::wstring& code,
                                                                const std::wstring& name) {
    content_list list;
    list.emplace_back(new continent_map_content(code, name));
    return list;
}

content_factory::content_list available_contents::zone_map(page& p, const params& requested) {
    content_list list;
    list.emplace_back(new zone_map_content(requested, &options::instance(), &p.commands()));
    return list;
}

content_factory::content_list available_contents::terms(page&) {
    content_list list;
    list.emplace_back(new terms_condition_content);
    return list;
}

content_factory::content_list available_contents::attachment(page&, const params& requested) {
    content_list list;
    if (requested.size() >= 3)
        list.emplace_back(new attach_content(requested[0], requested[1], requested[2]));
    return list;
}

content_factory::content_list available_contents::video(page& p, const std::wstring&,
                                                        const std::wstring& clip) {
    content_list list;
    cl::ui::main_window* window = cl::ui::current_window();
    list.emplace_back(new video_player_content(&p.commands(), clip, window ? window->get_hwnd() : nullptr));
    return list;
}

content_factory::content_list available_contents::globe(page& p, int tilt, int spin) {
    static int anchor;
    const std::wstring folder = platform::from_utf8(platform::module_folder(platform::module_of(&anchor)));
    content_list list;
    list.emplace_back(globe_content::make(p.is_landscape(), tilt, spin, folder));
    return list;
}

} // namespace app
} // namespace zor
