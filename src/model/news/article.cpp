#include "model/news/article.h"

#include "model/news/loaders.h"
#include "utils/errors.h"

namespace news {

article::article(const std::wstring& url) : url_(url) {}

void article::load() {
    utils::check_pointer(full_sized_picture_.get(), "_full_sized_picture == NULL");
    boost::shared_ptr<cl::ui::async_picture> full = full_sized_picture_;
    full->set_queued(true);
    cl::logged_attempt(
        [&] {
            article sized(url_);
            unsigned width = 0, height = 0;
            picture_size(width, height);
            sized.set_picture_size(width, height);
            load_article(sized);
            // The server answers with pictures made for the size asked.
            if (sized.is_loaded() && !sized.is_failed() && sized.thumbnail()) {
                full->set_url(sized.thumbnail()->url());
                full->load();
            }
        },
        L"Article full sized picture loading error. Url: " + url_,
        L"Article full sized picture loading unexpected error. Id: " + url_);
    full->set_queued(false);
}

} // namespace news
