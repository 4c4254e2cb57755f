#include "pages/settings/terms_condition_content.h"

#include "model/news/article.h"
#include "model/news/loaders.h"
#include "platform/module.h"
#include "platform/text.h"
#include "utils/log.h"

#include <tinyxml2.h>

#include <fstream>
#include <iterator>

namespace zor {

namespace {
int anchor;
}

terms_condition_content::terms_condition_content(const std::wstring& folder) : view(new ui::article_view2) {
    loaded = read(folder);
}

content_state terms_condition_content::get_state() const {
    content_state s(page_name(), L"");
    if (loaded)
        s.extra = view->place_record();
    return s;
}

void terms_condition_content::resume(const content_state& s) {
    view->keep_place_record(s.extra);
}

bool terms_condition_content::read(const std::wstring& folder) {
    std::string dir =
        folder.empty() ? platform::module_folder(platform::module_of(&anchor)) : platform::to_utf8(folder);
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    std::ifstream in(dir + "terms_conditions.xml", std::ios::binary);
    if (!in)
        return false;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A file that is not XML at all leaves the page blank without a word.
    tinyxml2::XMLDocument check;
    if (check.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS)
        return false;
    try {
        news::article terms{std::wstring()};
        news::apply_article(terms, text.c_str(), std::wstring());
        view->set_content(terms.location(), terms.paragraphs(), nullptr);
        return true;
    } catch (const std::exception&) {
        utils::log("Loading Terms & Condition content is fail");
        return false;
    }
}

} // namespace zor
