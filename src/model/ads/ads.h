#pragma once

#include "net/i_async_info_object.h"
#include "ui/async_picture.h"
#include "utils/locked_view.h"
#include "utils/mutex.h"

#include <boost/shared_ptr.hpp>
#include <string>
#include <vector>

namespace ads {

// One banner: its picture, the link a tap opens, and the advertiser's tracking id.
class banner_image : public cl::i_async_info_object {
public:
    banner_image(const std::wstring& tracker_id, const std::wstring& waplink,
                 const boost::shared_ptr<cl::ui::async_picture>& picture)
        : link(waplink), tracker(tracker_id), image(picture) {}
    std::int64_t timestamp() const override { return 0; }
    bool is_loaded() const override { return true; }
    int priority() const override { return 0; }
    void load() override {}
    virtual boost::shared_ptr<cl::ui::async_picture> picture() const { return image; }
    virtual std::wstring waplink() const { return link; }
    virtual std::wstring tracker_id() const { return tracker; }

private:
    std::wstring link;
    std::wstring tracker;
    boost::shared_ptr<cl::ui::async_picture> image;
};

using banner_ptr = boost::shared_ptr<banner_image>;
using banner_list = std::vector<banner_ptr>;

} // namespace ads

namespace ads_impl {

// The banner list behind the advert, under its own lock; readers see it only once loaded.
class advert_impl : public cl::i_async_info_object {
public:
    std::int64_t timestamp() const override { return 0; }
    bool is_loaded() const override { return loaded != 0; }
    int priority() const override { return 1; }
    void load() override {}
    void set_banners(ads::banner_list read) {
        utils::lock_guard guard(lock);
        banners.swap(read);
    }

    utils::atomic_long loaded;
    utils::mutex lock;
    ads::banner_list banners;
};

class advert_loader {
public:
    virtual ~advert_loader() = default;
    virtual void load() = 0;
};

// Fetches the advert document ("url?width=" of the advertise entry) and fills the banner list.
// The document part: reads the advert document text into the banner list (pictures live on host).
void read_advert(advert_impl& target, const char* document, const std::wstring& host);

class http_advert_loader : public advert_loader {
public:
    explicit http_advert_loader(const boost::shared_ptr<advert_impl>& target) : target(target) {}
    void load() override;

private:
    boost::shared_ptr<advert_impl> target;
};

} // namespace ads_impl

namespace ads {

class advert : public cl::i_async_info_object {
public:
    advert() : impl(new ads_impl::advert_impl) {}
    std::int64_t timestamp() const override { return impl->timestamp(); }
    bool is_loaded() const override { return impl->is_loaded(); }
    int priority() const override { return impl->priority(); }
    // A reload empties the list first: readers see no banners until the new list is complete.
    void load() override;

    // Null, without locking, while not loaded; otherwise locks and gives the banners.
    banner_list* lock_banners();
    void unlock_banners() { impl->lock.unlock(); }

private:
    boost::shared_ptr<ads_impl::advert_impl> impl;
};

using banners_lock = utils::locked_view<advert, banner_list, &advert::lock_banners, &advert::unlock_banners>;

class manager {
public:
    manager() : item(new ads::advert) {}
    manager(const manager&) = delete;
    manager& operator=(const manager&) = delete;
    boost::shared_ptr<ads::advert> advert() const { return item; }

private:
    boost::shared_ptr<ads::advert> item;
};

} // namespace ads
