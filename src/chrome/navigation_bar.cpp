#include "chrome/navigation_bar.h"

#include "ui/graphics.h"
#include "ui/offset_graphics.h"
#include "ui/resources.h"
#include "ui/static_fonts.h"

#include <cmath>

namespace zor {
namespace ui {

namespace {
const platform::COLORREF bar_colour = 0xDADADA;
const int tab_margin = 4;
const int arrow_inset = 20;
// Fingers are wider than the arrows.
const int arrow_slop = 12;

platform::RECT narrowed(const platform::RECT& r, int d) {
    return platform::RECT{r.left + d, r.top + d, r.right - d, r.bottom - d};
}

platform::RECT widened(const platform::RECT& r, int d) {
    return narrowed(r, -d);
}

cl::ui::image_ptr resource_image(const wchar_t* key) {
    return cl::ui::load_image(cl::ui::resources::path(key));
}
} // namespace

navigation_bar::tab::tab(const std::wstring& caption, platform::COLORREF colour)
    : caption(caption), colour(colour),
      text(caption, colour, cl::ui::fonts::tahoma_28_bold, cl::ui::align_center),
      left_mark(resource_image(L"arrow_left2")), right_mark(resource_image(L"arrow_right2")) {}

platform::RECT navigation_bar::tab::caption_area() const {
    const int mark = left_mark ? left_mark->width() : 0;
    const int space = mark_inset + mark + caption_space;
    return platform::RECT{inner_rect.left + space, inner_rect.top, inner_rect.right - space,
                          inner_rect.bottom};
}

void navigation_bar::tab::layout() {
    inner_rect = narrowed(frame_rect, tab_margin);
    rect = inner_rect;
    const platform::RECT area = caption_area();
    const int area_width = area.right - area.left;
    std::wstring shown = caption;
    auto g = cl::ui::get_graphics();
    int text_height = cl::ui::fonts::tahoma_28_bold->height();
    if (g) {
        // Each step is one character shorter; the bare ellipsis ends it in a tab too narrow for anything.
        while (shown != L"..." && g->text_width(shown, cl::ui::fonts::tahoma_28_bold) >= area_width)
            shown = shown.size() > 4 ? shown.substr(0, shown.size() - 4) + L"..." : std::wstring(L"...");
        text_height = g->measure_text(shown, cl::ui::fonts::tahoma_28_bold, area_width).cy;
    }
    const int top = inner_rect.top + ((inner_rect.bottom - inner_rect.top) - text_height) / 2;
    text.set_text(shown);
    text.set_rect(platform::RECT{area.left, top, area.right, top + text_height});
    const int middle = (inner_rect.top + inner_rect.bottom) / 2;
    if (left_mark)
        left_point = platform::POINT{inner_rect.left + mark_inset, middle - left_mark->height() / 2};
    if (right_mark)
        right_point = platform::POINT{inner_rect.right - mark_inset - right_mark->width(),
                                      middle - right_mark->height() / 2};
}

void navigation_bar::tab::draw(cl::ui::i_graphics& g, bool) {
    g.draw_frame(frame_rect, bar_colour);
    g.fill_rect(inner_rect, 0xFFFFFF);
    round_control::draw(g, true);
    text.draw(g, true);
    if (show_left && left_mark)
        g.draw_image_alpha(left_mark, left_point.x, left_point.y, 255);
    if (show_right && right_mark)
        g.draw_image_alpha(right_mark, right_point.x, right_point.y, 255);
}

navigation_bar::navigation_bar()
    : slide_anim(slide_speed, slide_smoothing), left_arrow(0, cl::ui::resources::path(L"arrow_left")),
      right_arrow(1, cl::ui::resources::path(L"arrow_right")) {}

void navigation_bar::add_tab(const tab_record& record) {
    tabs.emplace_back(new tab(record.caption, record.back_color));
    dirty = true;
}

void navigation_bar::clear() {
    tabs.clear();
    current = 0;
    slide_anim.set({0.0, 0.0});
    dirty = true;
}

int navigation_bar::switch_to(int direction, int index) {
    const int count = tab_count();
    if (count == 0)
        return -1;
    int target = current;
    switch (direction) {
    case previous:
        target = current - 1;
        break;
    case next:
        target = current + 1;
        break;
    case jump:
        target = index;
        break;
    default:
        break;
    }
    if (target < 0 || target >= count)
        return -1;
    current = target;
    if (direction == jump)
        slide_anim.set({current * 100.0, current * 100.0});
    else
        slide_anim.set({current * 100.0});
    place_arrows();
    dirty = true;
    return current;
}

void navigation_bar::place_arrows() {
    const int arrow_height = 36;
    const int top = rect.top + ((rect.bottom - rect.top) - arrow_height) / 2 - 5;
    left_arrow.set_rect(platform::RECT{rect.left + arrow_inset, top, rect.right, rect.bottom});
    right_arrow.set_rect(platform::RECT{rect.left, top, rect.right - arrow_inset, rect.bottom});
    left_arrow.set_visible(current > 0);
    right_arrow.set_visible(current < tab_count() - 1);
}

void navigation_bar::layout() {
    const int count = tab_count();
    for (int i = 0; i < count; ++i) {
        tab& t = *tabs[static_cast<std::size_t>(i)];
        t.set_frame(narrowed(rect, tab_margin));
        t.set_marks(i > 0, i < count - 1);
        t.layout();
    }
    place_arrows();
    dirty = true;
}

void navigation_bar::update(unsigned long now_ms) {
    if (slide_anim.update(now_ms))
        dirty = true;
    left_arrow.update(now_ms);
    right_arrow.update(now_ms);
    // The arrows bounce all the time; only the pixels they move over are drawn again.
    const platform::RECT left_now = left_arrow.get_rect(), right_now = right_arrow.get_rect();
    if (!tabs.empty() && (left_now.left != left_drawn.left || right_now.left != right_drawn.left))
        arrows_dirty = true;
}

platform::RECT navigation_bar::arrow_band(const cl::ui::oscillation_arrow& arrow, bool left_side) const {
    // Everywhere the arrow can be during its bounce, inside the white of the current tab.
    const platform::RECT at = arrow.get_rect();
    const int w = at.right - at.left;
    const int reach = 6; // the bounce's amplitude and a pixel for rounding
    const int x = left_side ? rect.left + arrow_inset - reach : rect.right - arrow_inset - w - reach;
    const platform::RECT inner = tabs[static_cast<std::size_t>(current)]->inner();
    return platform::RECT{std::max(x, inner.left + 8), std::max(at.top, inner.top),
                          std::min(x + w + 2 * reach, inner.right - 8), std::min(at.bottom, inner.bottom)};
}

bool navigation_bar::at_rest() const {
    return !tabs.empty() && std::fabs(slide_anim.value(0) - current * 100.0) < 0.01;
}

void navigation_bar::draw(cl::ui::i_graphics& g, bool force) {
    if (!force && !dirty && arrows_dirty && visible && at_rest()) {
        arrows_dirty = false;
        for (bool left_side : {true, false}) {
            cl::ui::oscillation_arrow& arrow = left_side ? left_arrow : right_arrow;
            if (!arrow.is_visible())
                continue;
            const platform::RECT band = arrow_band(arrow, left_side);
            g.fill_rect(band, 0xFFFFFF);
            arrow.draw(g, true);
            g.invalidate_ornament(band);
        }
        left_drawn = left_arrow.get_rect();
        right_drawn = right_arrow.get_rect();
        return;
    }
    if (!force && !dirty)
        return;
    dirty = false;
    arrows_dirty = false;
    left_drawn = left_arrow.get_rect();
    right_drawn = right_arrow.get_rect();
    if (!visible)
        return;
    g.fill_rect(rect, bar_colour);
    const int count = tab_count();
    if (count > 0) {
        const double value = slide_anim.value(0);
        const int width = rect.right - rect.left;
        int first = static_cast<int>(std::floor(value / 100.0));
        const double fraction = value - first * 100.0;
        const int shift = static_cast<int>(std::lround(fraction * width / 100.0));
        cl::ui::offset_graphics moved;
        moved.set_graphics(&g);
        auto draw_tab = [&](int i, int dx, bool marks) {
            if (i < 0 || i >= count)
                return;
            tab& t = *tabs[static_cast<std::size_t>(i)];
            t.set_marks(marks && i > 0, marks && i < count - 1);
            moved.set_offset(dx, 0);
            t.draw(moved, true);
        };
        if (shift == 0) {
            // At rest the bouncing arrows stand in for the current tab's marks.
            draw_tab(first, 0, false);
            left_arrow.draw(g, true);
            right_arrow.draw(g, true);
        } else {
            draw_tab(first, -shift, true);
            draw_tab(first + 1, width - shift, true);
        }
    }
    g.invalidate(rect);
}

void navigation_bar::on_key_down(int key) {
    if (key == platform::VK_LEFT)
        previous_requested();
    else if (key == platform::VK_RIGHT)
        next_requested();
}

void navigation_bar::on_pen_down(const platform::POINT& p) {
    if (current > 0 && cl::ui::contains(widened(left_arrow.get_rect(), arrow_slop), p))
        previous_requested();
    else if (current < tab_count() - 1 && cl::ui::contains(widened(right_arrow.get_rect(), arrow_slop), p))
        next_requested();
}

} // namespace ui
} // namespace zor
