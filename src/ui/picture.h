#pragma once

#include "ui/control_base.h"
#include "utils/signal.h"

#include <mutex>
#include <string>

namespace cl {
namespace ui {

// An image placed in a rectangle: at its top-left, centred (mode 2), or centred vertically only (mode 3).
class picture : public control_base {
public:
    enum layout_mode { top_left = 0, centred = 2, centred_vertically = 3 };

    explicit picture(int mode = top_left);
    picture(const image_ptr& image, bool use_alpha, int mode);
    // Loads the file through the image cache (or past it with bypass_cache).
    picture(const std::wstring& path, bool use_alpha, int mode, int width, int height, bool bypass_cache);

    void update(unsigned long) override {}
    void layout() override;
    void draw(i_graphics& g, bool force) override;
    void on_pen_down(const platform::POINT&) override { clicked(); }

    virtual bool is_loaded() const { return true; }
    virtual bool is_failed() const { return false; }

    void set_image(const image_ptr& image, bool use_alpha);
    // The image may be replaced by the loading thread; readers take a copy.
    image_ptr get_image() const;

    utils::signal<utils::function0<void>> clicked;

protected:
    void drop_image();
    void set_layout_mode(int mode) { layout_mode = mode; }

    bool use_alpha = false;
    int layout_mode;

private:
    mutable std::mutex image_mutex;
    image_ptr image;
};

} // namespace ui
} // namespace cl
