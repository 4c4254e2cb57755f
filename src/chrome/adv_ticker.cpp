#include "chrome/adv_ticker.h"

#include "model/ads/ads.h"
#include "model/model.h"
#include "platform/shell_open.h"
#include "ui/async_picture.h"

#include <algorithm>

namespace zor {
namespace ui {

bool adv_ticker::is_loaded() const {
    return ready && banner && banner->is_loaded() && !banner->is_failed() && banner->get_image();
}

bool adv_ticker::is_failed() const {
    if (no_banners || (banner && banner->is_loaded() && banner->is_failed()))
        return true;
    auto ads = zor::model::ads_manager();
    if (!ads)
        return true;
    auto advert = ads->advert();
    return !advert->is_loaded() && advert->is_failed();
}

void adv_ticker::clear_text() {
    banner.reset();
    advert_requested = false;
    no_banners = false;
    ticker::clear_text();
}

void adv_ticker::set_text(const std::wstring& t) {
    banner.reset();
    advert_requested = false;
    no_banners = false;
    ticker::set_text(t);
}

void adv_ticker::fill() {
    if (banner)
        return;
    auto ads = zor::model::ads_manager();
    if (!ads)
        return;
    auto advert = ads->advert();
    if (!advert->is_loaded()) {
        if (!advert_requested) {
            zor::model::load(advert);
            advert_requested = true;
        }
        return;
    }
    ads::banners_lock banners(advert);
    if (!banners)
        return;
    if (banners->empty()) {
        // Nothing to show: the manager passes this ticker by.
        no_banners = true;
        return;
    }
    const ads::banner_ptr& chosen = (*banners)[position % banners->size()];
    auto picture = chosen->picture();
    if (!picture)
        return;
    picture->set_rect(moving);
    text = chosen->waplink();
    if (!picture->is_loaded())
        zor::model::load_picture(picture);
    banner = picture;
    layout();
    set_ready(true);
}

void adv_ticker::open() {
    platform::shell_open(text);
}

void adv_ticker::layout_content() {
    // The picture keeps the size it was decoded at; only its place follows the strip. Its rectangle is
    // left alone while the loading thread may read it to scale the picture.
    if (banner && banner->is_loaded())
        banner->set_rect(moving);
}

void adv_ticker::draw_content(cl::ui::i_graphics& g) {
    if (!is_loaded())
        return;
    cl::ui::image_ptr image = banner->get_image();
    const int x0 = std::max(moving.left, rect.left);
    const int x1 = std::min(moving.left + image->width(), rect.right);
    if (x1 <= x0)
        return;
    // Only the part inside the strip: the banner slides in and out under its edges.
    const platform::RECT source{x0 - moving.left, 0, x1 - moving.left - 1,
                                std::min(image->height(), rect.bottom - rect.top) - 1};
    g.draw_image_part(image, x0, moving.top, source, 255);
}

} // namespace ui
} // namespace zor
