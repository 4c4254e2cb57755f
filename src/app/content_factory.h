#pragma once

#include "content/i_page_content.h"

#include <memory>
#include <string>
#include <vector>

namespace zor {
namespace app {

class page;

// Makes the contents of each kind of page, in strip order. The page decides which one is shown first,
// the tabs and the chrome; the factory knows the content classes and what each needs from the model.
class content_factory {
public:
    using content_list = std::vector<std::unique_ptr<i_page_content>>;
    using params = std::vector<std::wstring>;

    virtual ~content_factory() = default;

    // Home, news, weather and settings.
    virtual content_list main_contents(page& p) = 0;
    // One headline list per news category, then the citizen report; the requested category gets
    // requested[1] and requested[2].
    virtual content_list headlines(page& p, const params& requested) = 0;
    // One article per headline of category requested[0], sub-category requested[1].
    virtual content_list articles(page& p, const params& requested) = 0;
    virtual content_list attachment(page& p, const params& requested) = 0;
    virtual content_list continent_map(page& p, const std::wstring& code, const std::wstring& name) = 0;
    virtual content_list zone_map(page& p, const params& requested) = 0;
    virtual content_list video(page& p, const std::wstring& name, const std::wstring& clip) = 0;
    virtual content_list globe(page& p, int angle_a, int angle_b) = 0;
    virtual content_list add_city(page& p, const std::wstring& search) = 0;
    virtual content_list detailed_weather(page& p, const std::wstring& city, const std::wstring& second) = 0;
    virtual content_list city_list(page& p) = 0;
    virtual content_list terms(page& p) = 0;
};

// The panel's contents over the model: the home page, the news list, the headline lists with the citizen
// report, articles and their enlarged pictures, the weather page with its add-city, search-result and
// detailed-forecast pages, the world view, the continent and zone maps, the clip's player, the settings and
// the terms.
class available_contents : public content_factory {
public:
    content_list main_contents(page&) override;
    content_list headlines(page& p, const params& requested) override;
    content_list articles(page& p, const params& requested) override;
    content_list attachment(page& p, const params& requested) override;
    content_list continent_map(page& p, const std::wstring& code, const std::wstring& name) override;
    content_list zone_map(page& p, const params& requested) override;
    // The clip's player over the panel window.
    content_list video(page& p, const std::wstring& name, const std::wstring& clip) override;
    // The world view's globe over the earth textures beside the panel library.
    content_list globe(page& p, int tilt, int spin) override;
    content_list add_city(page& p, const std::wstring& search) override;
    content_list detailed_weather(page& p, const std::wstring& city, const std::wstring& second) override;
    // The query is the text the add-city page kept in the history when "Search" left it.
    content_list city_list(page& p) override;
    content_list terms(page& p) override;
};

} // namespace app
} // namespace zor
