#include "model/news/headline.h"

#include "model/news/loaders.h"
#include "net/url.h"
#include "platform/clock.h"
#include "utils/errors.h"

namespace news {

headline::headline(const std::wstring& category_url, const std::wstring& id, const std::wstring& text,
                   const std::wstring& category_name, const boost::shared_ptr<cl::ui::async_picture>& picture,
                   std::int64_t version)
    : category_url_(category_url), id_(id), text_(text), picture_(picture), version_(version),
      category_name_(category_name) {}

void headline::load() {
    if (is_loaded() && !is_failed())
        return;
    loaded.exchange(0);
    // Read into an article of its own, off the lock the article page takes every frame; swapped in at the
    // end. The id goes into a query: encoded, so that a blank or '&' cannot break the request.
    article_ptr read(new article(category_url_ + L"?itemid=" + cl::http::encode_query_value(id_)));
    try {
        load_article(*read);
        set_failed(false);
    } catch (const std::exception& e) {
        utils::log(L"Article loading error. Url: " + category_url_);
        utils::log("Error: " + utils::log_text(e));
        set_failed(true);
    } catch (...) {
        utils::log(L"Article loading unexpected error. Url: " + category_url_);
        set_failed(true);
    }
    {
        utils::lock_guard guard(lock);
        current = read;
    }
    set_load_time(platform::tick_count());
    loaded.exchange(1);
}

article_ptr headline::lock_article() {
    lock.lock();
    return current;
}

void headline::unlock_article() {
    lock.unlock();
}

} // namespace news
