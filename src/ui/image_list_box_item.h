#pragma once

#include "ui/simple_list_box.h"

#include <string>

namespace cl {
namespace ui {

// A fixed-height row that is a picture centred on a plain background (the weather page's picture rows).
class image_list_box_item : public i_list_box_item {
public:
    image_list_box_item(const std::wstring& text, const image_ptr& image, platform::COLORREF background,
                        bool show_image, int row_height);

    // A still picture: news only once moved or shown again. Hidden, the row keeps its background.
    void set_visible(bool v) override {
        visible = v;
        dirty = true;
    }
    void set_rect(const platform::RECT& r) override {
        rect = r;
        dirty = true;
    }
    void update(unsigned long) override {}
    void layout() override {
        rect.bottom = rect.top + row_height;
        dirty = true;
    }
    void draw(i_graphics& g, bool force) override;

    void set_selected(bool) override {}
    bool is_selected() const override { return false; }
    void set_tag(int, int) override {}
    std::wstring type_name() const override { return L"image_list_box_item"; }
    std::wstring text() const override { return caption; }

private:
    std::wstring caption;
    platform::COLORREF background;
    image_ptr image;
    int row_height;
};

} // namespace ui
} // namespace cl
