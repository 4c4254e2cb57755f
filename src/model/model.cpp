#include "model/model.h"

#include "utils/errors.h"

namespace zor {
namespace model {

namespace {
boost::shared_ptr<cl::loading_manager> loader;
}

void init() {
    utils::trace_scope trace("zor::model::init");
    // The news, weather and advert managers are created here, before the loading thread, as they are built.
    loader.reset(new cl::loading_manager);
    loader->start();
}

void done() {
    utils::trace_scope trace("zor::model::done");
    if (loader) {
        loader->stop();
        loader.reset();
    }
}

boost::shared_ptr<cl::loading_manager> loading_manager() {
    return loader;
}

void load(const boost::shared_ptr<cl::i_async_info_object>& object) {
    if (object && !object->is_queued() && loader)
        loader->add_request(object);
}

void load_picture(const boost::shared_ptr<cl::ui::async_picture>& picture) {
    load(boost::static_pointer_cast<cl::i_async_info_object>(picture));
}

} // namespace model
} // namespace zor
