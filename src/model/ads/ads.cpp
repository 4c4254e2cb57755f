#include "model/ads/ads.h"

#include "model/config.h"
#include "net/document_fetch.h"
#include "utils/document_text.h"
#include "utils/errors.h"

#include <tinyxml2.h>

namespace ads {

void advert::load() {
    impl->loaded.exchange(0);
    impl->set_banners({});
    ads_impl::http_advert_loader(impl).load();
    impl->loaded.exchange(1);
}

banner_list* advert::lock_banners() {
    if (!impl->is_loaded())
        return nullptr;
    impl->lock.lock();
    return &impl->banners;
}

} // namespace ads

namespace ads_impl {

void http_advert_loader::load() {
    if (!zor::config::available())
        return;
    zor::config& cfg = zor::config::instance();
    const std::wstring host = cfg.server_host();
    const std::wstring path =
        zor::config::url_with_width(cfg.get_items(zor::config::internet, zor::config::advertise));
    target->set_copy_time(cl::http::load_document(host, path, [&](const char* document, cl::http::copy_time) {
        read_advert(*target, document, host);
    }));
}

void read_advert(advert_impl& target, const char* document, const std::wstring& host) {
    tinyxml2::XMLDocument doc;
    auto invalid = [] { utils::throw_error(std::runtime_error("Invalid XML document")); };
    if (!document || doc.Parse(document) != tinyxml2::XML_SUCCESS)
        invalid();
    const tinyxml2::XMLElement* root = doc.FirstChildElement("advert");
    if (!root)
        invalid();
    // Read off the lock and handed over in one step, also the banners read before a bad one.
    ads::banner_list read;
    try {
        for (const tinyxml2::XMLElement* e = root->FirstChildElement("image"); e;
             e = e->NextSiblingElement("image")) {
            const char* tracker = e->Attribute("tracker_id");
            const char* url = e->Attribute("url");
            const char* link = e->Attribute("waplink");
            if (!tracker || !url || !link)
                invalid();
            using namespace cl::ui::picture_flags;
            boost::shared_ptr<cl::ui::async_picture> picture(
                new cl::ui::async_picture(utils::widen_document_text(url), host, wait_icon, no_failure_image,
                                          cl::ui::picture::top_left, scaled_to_rect, untracked));
            read.push_back(ads::banner_ptr(new ads::banner_image(utils::widen_document_text(tracker),
                                                                 utils::widen_document_text(link), picture)));
        }
    } catch (...) {
        target.set_banners(std::move(read));
        throw;
    }
    target.set_banners(std::move(read));
}

} // namespace ads_impl
