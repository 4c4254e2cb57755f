#include "chrome/page_header.h"

#include "ui/graphics.h"
#include "ui/resources.h"

namespace zor {
namespace ui {

page_header::page_header()
    : strip(cl::ui::load_image(cl::ui::resources::path(L"top_bar")), false, cl::ui::picture::top_left) {}

} // namespace ui
} // namespace zor
