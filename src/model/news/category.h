#pragma once

#include "net/i_async_info_object.h"
#include "platform/types.h"
#include "utils/locked_view.h"
#include "utils/mutex.h"

#include <boost/shared_ptr.hpp>
#include <string>
#include <vector>

namespace news {

class headline;
class category;
using headline_ptr = boost::shared_ptr<headline>;
using category_ptr = boost::shared_ptr<category>;
using headline_list = std::vector<headline_ptr>;
using category_list = std::vector<category_ptr>;

// One news category of config.xml with the headlines of its last accepted document.
class category : public cl::i_async_info_object {
public:
    category(const std::wstring& name, const std::wstring& url, platform::COLORREF color);
    ~category() override;

    std::int64_t timestamp() const override { return version_.load(); }
    bool is_loaded() const override { return loaded != 0; }
    bool is_modified() const override { return modified != 0; }
    void set_modified(bool m) override { modified.exchange(m ? 1 : 0); }
    int priority() const override { return 1; }
    // Fetches the headlines document; failures are logged and leave the failed flag set.
    void load() override;
    // Null for a plain category.
    virtual boost::shared_ptr<category_list> subcategories() const { return nullptr; }

    std::wstring name() const { return name_; }
    std::wstring url() const { return url_; }
    platform::COLORREF color() const { return color_; }

    // Null, without locking, before the first load; otherwise locks and gives the list.
    headline_list* lock_headlines();
    void unlock_headlines();

    // Unlocked: only for a category no other thread sees yet (tests, the fuzzer).
    headline_list& headlines() { return list; }
    // The loader builds a new list off the lock and swaps it in here.
    void set_headlines(headline_list read);
    void set_version(std::int64_t v) { version_.store(v); }
    // True once a document has been accepted (a failed first load does not count).
    bool has_succeeded() const { return succeeded != 0; }
    void set_succeeded() { succeeded.exchange(1); }

private:
    std::wstring name_;
    std::wstring url_;
    platform::COLORREF color_;
    std::atomic<std::int64_t> version_{0};
    headline_list list;
    utils::atomic_long loaded;
    utils::atomic_long modified;
    utils::atomic_long succeeded;
    utils::mutex lock;
};

// A category with sub-categories; it also has its own url and headlines.
class structured_category : public category {
public:
    structured_category(const std::wstring& name, const std::wstring& url, platform::COLORREF color,
                        const boost::shared_ptr<category_list>& subcategories);
    boost::shared_ptr<category_list> subcategories() const override { return subs; }

private:
    boost::shared_ptr<category_list> subs;
};

// Holds a category's headlines locked for as long as it lives; list() is null when there is nothing to show.
class headlines_lock : public utils::locked_view<category, headline_list, &category::lock_headlines,
                                                 &category::unlock_headlines> {
public:
    using locked_view::locked_view;
    headline_list* list() const { return get(); }
};

} // namespace news
