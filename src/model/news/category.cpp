#include "model/news/category.h"

#include "model/news/headline.h"
#include "model/news/loaders.h"
#include "platform/clock.h"
#include "utils/document_text.h"
#include "utils/errors.h"

namespace news {

category::category(const std::wstring& name, const std::wstring& url, platform::COLORREF color)
    : name_(name), url_(url), color_(color) {}

category::~category() = default;

void category::load() {
    utils::trace_scope trace("news::category::load");
    // Nothing shown yet: the held copy of the last run fills the pages at once while the network is asked.
    if (!has_succeeded() && headlines_loader::load_held_copy(*this))
        loaded.exchange(1);
    // No lock here: the ticker and the pages take it every frame while the document may take seconds.
    attempt([this] { headlines_loader::load_headlines(*this); },
            L"Category loading error. Name: " + name_ + L". Url: " + url_,
            L"Category loading unexpected error. Name: " + name_ + L". Url: " + url_);
    set_load_time(platform::tick_count());
    loaded.exchange(1);
}

headline_list* category::lock_headlines() {
    if (!is_loaded())
        return nullptr;
    lock.lock();
    return &list;
}

void category::set_headlines(headline_list read) {
    utils::lock_guard guard(lock);
    list.swap(read);
}

void category::unlock_headlines() {
    lock.unlock();
}

structured_category::structured_category(const std::wstring& name, const std::wstring& url,
                                         platform::COLORREF color,
                                         const boost::shared_ptr<category_list>& subcategories)
    : category(name, url, color), subs(subcategories) {}

} // namespace news
