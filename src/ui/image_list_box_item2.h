#pragma once

#include "ui/list_box_item_base.h"
#include "ui/picture.h"

#include <boost/shared_ptr.hpp>

namespace cl {
namespace ui {

// A row that is only a picture, with another picture while it has the focus (the home page's shortcuts).
class image_list_box_item2 : public list_box_item_base {
public:
    image_list_box_item2(const std::wstring& key, list_box_base* owner,
                         const boost::shared_ptr<picture>& normal, const boost::shared_ptr<picture>& focused);

    void layout() override;
    void draw_content(i_graphics& g, bool force) override;
    std::wstring type_name() const override { return L"image_list_box_item"; }

private:
    boost::shared_ptr<picture> normal;
    boost::shared_ptr<picture> focused_picture;
};

} // namespace ui
} // namespace cl
