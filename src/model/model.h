#pragma once

#include "net/i_async_info_object.h"
#include "net/loading_manager.h"
#include "ui/async_picture.h"

#include <boost/shared_ptr.hpp>

namespace news {
class manager;
}
namespace weather {
class manager;
}
namespace ads {
class manager;
}

// The model root: the data managers and the loading thread, made when the frame loop starts and released when
// it ends. Every page reaches the data through these accessors.
namespace zor {
namespace model {

// Creates the managers and starts the loading thread (traced as "zor::model::init").
void init();
// Stops the loading thread first, then releases the managers (traced as "zor::model::done").
void done();

// Empty before init and after done.
boost::shared_ptr<cl::loading_manager> loading_manager();
boost::shared_ptr<news::manager> news_manager();
boost::shared_ptr<weather::manager> weather_manager();
boost::shared_ptr<ads::manager> ads_manager();

// Queues the object unless it is null, already queued, or no loading thread exists.
void load(const boost::shared_ptr<cl::i_async_info_object>& object);
// The same for a downloaded picture.
void load_picture(const boost::shared_ptr<cl::ui::async_picture>& picture);
// Queues the picture unless it is there already (loaded and not failed).
void load_missing_picture(const boost::shared_ptr<cl::ui::async_picture>& picture);
// Queues the categories the user keeps on the home page that are not loaded yet, so that they are read (from
// the network or the copies of the last run) while the opening pictures show.
void load_home_categories();

} // namespace model
} // namespace zor
