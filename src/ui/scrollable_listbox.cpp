#include "ui/scrollable_listbox.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace cl {
namespace ui {

scrollable_listbox::scrollable_listbox() : scroll(scroll_speed, scroll_smoothing) {
    // Rows stop short of the scroll bar's strip.
    margin_right = bar_width + 4;
}

platform::POINT scrollable_listbox::content_point(const platform::POINT& p) const {
    return platform::POINT{p.x, p.y - static_cast<int>(offset())};
}

int scrollable_listbox::content_bottom() const {
    return rows.empty() ? rect.top : rows.back()->bottom() + item_gap + end_space;
}

void scrollable_listbox::set_end_space(int pixels) {
    if (pixels == end_space)
        return;
    const bool shrinks = pixels < end_space;
    end_space = pixels;
    update_range();
    dirty = true;
    // Scrolled into space that is gone: back to the new end.
    if (shrinks)
        scroll_y(0);
}

void scrollable_listbox::update_range() {
    // A list that fits has nothing to scroll and shows no bar.
    scrollbar.set_visible(content_bottom() > rect.bottom);
    scrollbar.set_range(content_bottom() - rect.bottom);
    scrollbar.set_position(-static_cast<int>(target()));
    last_bar_position = scrollbar.position();
}

void scrollable_listbox::set_rect(const platform::RECT& r) {
    scrollbar.set_rect(platform::RECT{r.right - bar_width, r.top, r.right, r.bottom});
    list_box_base::set_rect(r);
}

void scrollable_listbox::layout() {
    list_box_base::layout();
    scrollbar.layout();
    update_range();
}

void scrollable_listbox::update(unsigned long now_ms) {
    list_box_base::update(now_ms);
    if (scroll.update(now_ms))
        dirty = true;
    if (scrollbar.is_dirty())
        dirty = true;
}

void scrollable_listbox::on_pen_down(const platform::POINT& p) {
    dragging = false;
    focus_before_press = focused;
    list_box_item_base* before = focused_item();
    list_box_base* block = before ? before->as_list() : nullptr;
    inner_focus_before_press = block ? block->focused_key() : std::wstring();
    if (scrollbar.hit_test(p) && scrollbar.hit_thumb(p)) {
        bar_captured = true;
        last_bar_position = scrollbar.position();
        scrollbar.on_pen_down(p);
        return;
    }
    list_box_base::on_pen_down(content_point(p));
}

void scrollable_listbox::on_pen_move(const platform::POINT& p) {
    if (bar_captured) {
        scrollbar.on_pen_move(p);
        scroll_y(0);
        return;
    }
    const platform::POINT c = content_point(p);
    if (!dragging && (std::abs(c.x - press.x) > tap_slop || std::abs(c.y - press.y) > tap_slop)) {
        dragging = true;
        undo_press();
    }
}

void scrollable_listbox::undo_press() {
    focus_item(focus_before_press);
    list_box_item_base* row = focused_item();
    if (list_box_base* block = row ? row->as_list() : nullptr)
        block->focus_item(inner_focus_before_press);
    dirty = true;
}

void scrollable_listbox::on_pen_up(const platform::POINT& p) {
    if (bar_captured) {
        scrollbar.on_pen_up(p);
        bar_captured = false;
        return;
    }
    if (!dragging)
        list_box_base::on_pen_up(content_point(p));
    dragging = false;
}

void scrollable_listbox::on_key_down(int key) {
    list_box_base::on_key_down(key);
    if (key != platform::VK_UP && key != platform::VK_DOWN)
        return;
    // The row with the highlight: inside a block, the block's focused row.
    list_box_item_base* row = focused_item();
    while (row && row->as_list() && row->as_list()->focused_item())
        row = row->as_list()->focused_item();
    if (row)
        show_row(*row);
}

void scrollable_listbox::show_row(const list_box_item_base& row) {
    const int t = static_cast<int>(target());
    // The view shows content from rect.top - t to the bottom, less the space the tickers cover.
    const int view_top = rect.top - t;
    const int view_bottom = std::max(rect.top, rect.bottom - end_space) - t;
    const int top = row.top() - item_gap, bottom = row.bottom() + item_gap;
    if (bottom > view_bottom && top > view_top)
        scroll_y(-std::min(bottom - view_bottom, top - view_top));
    else if (top < view_top)
        scroll_y(view_top - top);
}

void scrollable_listbox::scroll_y(int delta) {
    dirty = true;
    const bool driven_by_bar = bar_captured;
    if (driven_by_bar) {
        delta = last_bar_position - scrollbar.position();
        last_bar_position = scrollbar.position();
    }
    if (rows.empty())
        return;
    const double t = target();
    const int c = content_bottom(), b = rect.bottom;
    if (c < b) {
        // Everything fits: back to the top.
        if (static_cast<int>(t) != 0)
            scroll.set({0.0});
        return;
    }
    int r = -delta;
    if (t - r > 0)
        r = static_cast<int>(t);
    if (b - t + r > c)
        r = static_cast<int>(t) - b + c;
    scroll.set({static_cast<double>(r), 0.0, 0.0});
    if (!driven_by_bar) {
        scrollbar.set_position(-static_cast<int>(target()));
        last_bar_position = scrollbar.position();
    }
}

scrollable_listbox::place scrollable_listbox::top_place() const {
    const int view_top = rect.top - static_cast<int>(target());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int top = rows[i]->top() - item_gap, bottom = rows[i]->bottom();
        if (bottom > view_top)
            return place{static_cast<int>(i), std::max(0, view_top - top) * 1000 / std::max(1, bottom - top)};
    }
    return place{rows.empty() ? -1 : static_cast<int>(rows.size()) - 1, 0};
}

void scrollable_listbox::show_place(const place& where) {
    if (rows.empty() || where.row < 0)
        return;
    const auto& row = rows[std::min(static_cast<std::size_t>(where.row), rows.size() - 1)];
    const int top = row->top() - item_gap;
    const int y = top + std::clamp(where.into, 0, 1000) * (row->bottom() - top) / 1000;
    const int end = std::min(0, rect.bottom - content_bottom());
    const double t = std::max(end, std::min(0, rect.top - y));
    scroll.set({t, t});
    scrollbar.set_position(-static_cast<int>(t));
    last_bar_position = scrollbar.position();
    dirty = true;
}

std::vector<std::int32_t> scrollable_listbox::place_record() const {
    const place top = top_place();
    if (top.row <= 0 && top.into == 0)
        return {};
    return {top.row, top.into};
}

void scrollable_listbox::keep_place_record(const std::vector<std::int32_t>& values) {
    if (!values.empty())
        kept = place{values[0], values.size() > 1 ? values[1] : 0};
}

void scrollable_listbox::show_kept_place() {
    if (kept.row >= 0)
        show_place(kept);
    kept = place{};
}

list_box2::list_box2() = default;

namespace {

// A row out of view and the rows inside it have nothing to show.
void settle(list_box_item_base& row) {
    row.set_dirty(false);
    if (list_box_base* inner = row.as_list())
        for (const list_box_base::item_ptr& r : inner->items())
            settle(*r);
}

} // namespace

void list_box2::draw(i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    // The ground is the list's own rectangle on screen; the rows move with the offset.
    g.fill_rect(rect, ground);
    view.set_graphics(&g);
    view.set_offset(0, static_cast<int>(offset()));
    view.set_clip(rect);
    // Only the rows in view (with the gap a focus frame may reach into): a long list costs no more a frame
    // than a short one.
    const int shift = static_cast<int>(offset());
    for (const item_ptr& item : rows) {
        if (!item->is_visible())
            continue;
        if (item->bottom() + item_gap + shift > rect.top && item->top() - item_gap + shift < rect.bottom)
            item->draw(view, true);
        else
            settle(*item); // what changes out of view shows when it scrolls in, drawn in full
    }
    scrollbar.draw(g, true);
    g.invalidate(rect);
    dirty = false;
}

} // namespace ui
} // namespace cl
