#include "ui/picture.h"

#include "ui/graphics.h"

namespace cl {
namespace ui {

picture::picture(int mode) : layout_mode(mode) {}

picture::picture(const image_ptr& img, bool alpha, int mode)
    : use_alpha(alpha), layout_mode(mode), image(img) {}

picture::picture(const std::wstring& path, bool alpha, int mode, int width, int height, bool bypass_cache)
    : use_alpha(alpha), layout_mode(mode), image(load_image(path, width, height, bypass_cache)) {}

void picture::set_image(const image_ptr& img, bool alpha) {
    {
        std::lock_guard<std::mutex> lock(image_mutex);
        image = img;
    }
    use_alpha = alpha;
    dirty = true;
}

image_ptr picture::get_image() const {
    std::lock_guard<std::mutex> lock(image_mutex);
    return image;
}

void picture::drop_image() {
    std::lock_guard<std::mutex> lock(image_mutex);
    image.reset();
}

void picture::layout() {
    image_ptr img = get_image();
    if (!img) {
        rect = platform::RECT{rect.left, rect.top, rect.left, rect.top};
        dirty = true;
        return;
    }
    int left = rect.left, top = rect.top;
    if (layout_mode == centred) {
        left = rect.left + width(rect) / 2 - img->width() / 2;
        top = rect.top + height(rect) / 2 - img->height() / 2;
    } else if (layout_mode == centred_vertically) {
        top = rect.top + height(rect) / 2 - img->height() / 2;
    }
    rect = platform::RECT{left, top, left + img->width(), top + img->height()};
    dirty = true;
}

void picture::draw(i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    image_ptr img = get_image();
    if (visible && img) {
        if (use_alpha)
            g.draw_image_alpha(img, rect.left, rect.top, 255);
        else
            g.draw_image(img, rect.left, rect.top);
    }
    dirty = false;
}

} // namespace ui
} // namespace cl
