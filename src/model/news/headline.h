#pragma once

#include "model/news/article.h"
#include "net/i_async_info_object.h"
#include "ui/async_picture.h"
#include "utils/mutex.h"

#include <boost/shared_ptr.hpp>
#include <string>

namespace news {

// One headline of a category; its article is fetched on demand.
class headline : public cl::i_async_info_object {
public:
    headline(const std::wstring& category_url, const std::wstring& id, const std::wstring& text,
             const std::wstring& category_name, const boost::shared_ptr<cl::ui::async_picture>& picture,
             std::int64_t version);

    std::int64_t timestamp() const override { return 0; }
    bool is_loaded() const override { return loaded != 0; }
    int priority() const override { return 1; }
    // Fetches the article; returns at once when it is loaded and did not fail.
    void load() override;

    std::wstring category_url() const { return category_url_; }
    std::wstring id() const { return id_; }
    std::wstring text() const { return text_; }
    std::wstring category_name() const { return category_name_; }
    boost::shared_ptr<cl::ui::async_picture> picture() const { return picture_; }
    std::int64_t version() const { return version_; }

    // Locks and gives the article (null before the first load); unlock_article releases.
    article_ptr lock_article();
    void unlock_article();

private:
    std::wstring category_url_;
    std::wstring id_;
    std::wstring text_;
    boost::shared_ptr<cl::ui::async_picture> picture_;
    std::int64_t version_;
    std::wstring category_name_;
    utils::atomic_long loaded;
    article_ptr current;
    utils::mutex lock;
};

using headline_ptr = boost::shared_ptr<headline>;

// Holds a headline's article locked for as long as it lives.
class article_lock {
public:
    explicit article_lock(const headline_ptr& h) : owner(h), locked(h != nullptr) {
        if (locked)
            item = h->lock_article();
    }
    ~article_lock() {
        if (locked)
            owner->unlock_article();
    }
    article_lock(const article_lock&) = delete;
    article_lock& operator=(const article_lock&) = delete;
    const article_ptr& article() const { return item; }

private:
    headline_ptr owner;
    bool locked;
    article_ptr item;
};

} // namespace news
