#include "model/news/headline.h"

#include "model/news/loaders.h"
#include "net/url.h"
#include "platform/clock.h"

namespace news {

headline::headline(const std::wstring& category_url, const std::wstring& id, const std::wstring& text,
                   const std::wstring& category_name, const boost::shared_ptr<cl::ui::async_picture>& picture,
                   std::int64_t version)
    : category_url_(category_url), id_(id), text_(text), picture_(picture), version_(version),
      category_name_(category_name) {}

void headline::load() {
    // A held copy that stood in is asked for again.
    if (is_loaded() && !is_failed() && copy_time() == 0)
        return;
    loaded.exchange(0);
    // Read into an article of its own, off the lock the article page takes every frame; swapped in at the
    // end. The id goes into a query: encoded, so that a blank or '&' cannot break the request.
    article_ptr read(new article(category_url_ + L"?itemid=" + cl::http::encode_query_value(id_)));
    cl::http::copy_time held = 0;
    attempt([&] { held = load_article(*read); }, L"Article loading error. Url: " + category_url_,
            L"Article loading unexpected error. Url: " + category_url_);
    set_copy_time(held);
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
