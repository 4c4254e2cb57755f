#include "model/model.h"

#include "model/ads/ads.h"
#include "model/news/manager.h"
#include "model/options.h"
#include "model/weather/manager.h"
#include "utils/errors.h"

namespace zor {
namespace model {

namespace {
boost::shared_ptr<news::manager> news_root;
boost::shared_ptr<weather::manager> weather_root;
boost::shared_ptr<ads::manager> ads_root;
boost::shared_ptr<cl::loading_manager> loader;
} // namespace

void init() {
    utils::trace_scope trace("zor::model::init");
    news_root.reset(new news::manager);
    weather_root.reset(new weather::manager);
    ads_root.reset(new ads::manager);
    loader.reset(new cl::loading_manager);
    loader->start();
}

void done() {
    utils::trace_scope trace("zor::model::done");
    // No load may run while the objects it fills go away.
    if (loader) {
        loader->stop();
        loader.reset();
    }
    news_root.reset();
    weather_root.reset();
    ads_root.reset();
}

boost::shared_ptr<cl::loading_manager> loading_manager() {
    return loader;
}

boost::shared_ptr<news::manager> news_manager() {
    return news_root;
}

boost::shared_ptr<weather::manager> weather_manager() {
    return weather_root;
}

boost::shared_ptr<ads::manager> ads_manager() {
    return ads_root;
}

void load(const boost::shared_ptr<cl::i_async_info_object>& object) {
    if (object && !object->is_queued() && loader)
        loader->add_request(object);
}

void load_picture(const boost::shared_ptr<cl::ui::async_picture>& picture) {
    load(boost::static_pointer_cast<cl::i_async_info_object>(picture));
}

void load_home_categories() {
    if (!news_root)
        return;
    for (const auto& name : options::instance().home_categories())
        if (auto c = news_root->find_category(name, std::wstring()))
            if (!c->is_loaded())
                load(c);
}

void load_missing_picture(const boost::shared_ptr<cl::ui::async_picture>& picture) {
    // A headline without a picture has nothing to fetch.
    if (picture && !picture->url().empty() && (!picture->is_loaded() || picture->is_failed()))
        load_picture(picture);
}

} // namespace model
} // namespace zor
