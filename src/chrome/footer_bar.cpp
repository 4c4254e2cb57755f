#include "chrome/footer_bar.h"

#include "ui/graphics.h"
#include "ui/resources.h"

namespace zor {
namespace ui {

namespace {
// Hot areas relative to the footer's top-left corner, where the picture paints the names.
const platform::RECT two_row_areas[footer_bar::link_count] = {
    {33, 2, 148, 30},   {149, 2, 232, 30}, {233, 2, 337, 30}, {338, 2, 406, 30},
    {149, 32, 311, 48}, {87, 32, 148, 48}, {312, 32, 400, 48}};
const platform::RECT one_row_areas[footer_bar::link_count] = {
    {68, 2, 176, 32},  {177, 2, 247, 32}, {248, 2, 343, 32}, {344, 2, 415, 32},
    {483, 2, 638, 32}, {416, 2, 482, 32}, {639, 2, 722, 32}};
} // namespace

footer_bar::footer_bar(const std::vector<std::wstring>& categories)
    : background(cl::ui::load_image(cl::ui::resources::path(L"footer")), false, cl::ui::picture::top_left) {
    for (int i = 0; i < 6 && i < static_cast<int>(categories.size()); ++i)
        links[i] = link{platform::RECT{}, L"headlines", categories[static_cast<std::size_t>(i)]};
    links[6] = link{platform::RECT{}, L"headlines", L"Tip-Line"};
}

const footer_bar::link* footer_bar::link_at(int index) const {
    auto it = links.find(index);
    return it == links.end() ? nullptr : &it->second;
}

void footer_bar::layout() {
    cl::ui::image_ptr image = background.get_image();
    const int h = image ? image->height() : 0;
    rect.top = rect.bottom - h;
    background.set_rect(rect);
    background.layout();
    two_rows = cl::ui::resources::is_portrait();
    const platform::RECT* areas = two_rows ? two_row_areas : one_row_areas;
    for (auto& entry : links) {
        const platform::RECT& a = areas[entry.first];
        entry.second.area =
            platform::RECT{rect.left + a.left, rect.top + a.top, rect.left + a.right, rect.top + a.bottom};
    }
    dirty = true;
}

void footer_bar::on_pen_down(const platform::POINT& p) {
    pressed = -1;
    for (const auto& entry : links) {
        if (cl::ui::contains(entry.second.area, p)) {
            pressed = entry.first;
            break;
        }
    }
    tap.press(p);
}

void footer_bar::on_pen_up(const platform::POINT& p) {
    const int index = pressed;
    pressed = -1;
    const bool close = tap.release(p);
    const link* l = link_at(index);
    if (l && close && cl::ui::contains(l->area, p))
        clicked(l->page, l->name);
}

void footer_bar::draw(cl::ui::i_graphics& g, bool force) {
    if (!begin_draw(force))
        return;
    background.draw(g, true);
    g.invalidate(rect);
}

} // namespace ui
} // namespace zor
