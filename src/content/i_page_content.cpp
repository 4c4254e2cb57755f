#include "content/i_page_content.h"

#include "ui/font.h"
#include "ui/graphics.h"
#include "ui/resources.h"

namespace zor {

const wchar_t* const i_page_content::error_text_1 = L"Server sent a malformed responce or .";
const wchar_t* const i_page_content::error_text_2 = L"Please try again later.";

i_page_content::i_page_content() = default;
i_page_content::~i_page_content() = default;

content_state i_page_content::get_state() const {
    return content_state(page_name(), name());
}

void i_page_content::show_error() {
    using platform::RECT;
    const RECT r = get_rect();
    const int w = r.right - r.left, h = r.bottom - r.top;
    int align;
    if (h <= w) {
        icon_box = RECT{r.left + 20, r.top + 20, r.left + 88, r.top + 82};
        text_rect_1 = RECT{r.left + 108, r.top + 20, r.right - 5, r.top + 50};
        text_rect_2 = RECT{r.left + 108, r.top + 50, r.right - 5, r.top + 80};
        align = cl::ui::align_left;
    } else {
        const int x = r.left + (w - 68) / 2;
        icon_box = RECT{x, r.top + 20, x + 68, r.top + 82};
        text_rect_1 = RECT{r.left + 20, r.top + 82, r.right - 5, r.top + 112};
        text_rect_2 = RECT{r.left + 20, r.top + 112, r.right - 5, r.top + 142};
        align = cl::ui::align_center;
    }
    if (!text_1) {
        auto font = cl::ui::create_font(L"Tahoma", 22, 0);
        text_1.reset(new cl::ui::text_block(error_text_1, 0x000000, font, align));
        text_2.reset(new cl::ui::text_block(error_text_2, 0x000000, font, align));
    }
    text_1->set_align(align);
    text_2->set_align(align);
    text_1->set_rect(text_rect_1);
    text_2->set_rect(text_rect_2);
    if (!icon)
        icon = cl::ui::load_image(cl::ui::resources::path(L"warning"));
    error_shown = true;
}

void i_page_content::draw_error(cl::ui::i_graphics& g) {
    g.fill_rect(get_rect(), 0xC0C0C0);
    if (icon)
        g.draw_image_alpha(icon, icon_box.left, icon_box.top, 255);
    if (text_1) {
        text_1->draw(g, true);
        text_2->draw(g, true);
    }
}

} // namespace zor
