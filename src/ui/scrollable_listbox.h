#pragma once

#include "ui/affectors.h"
#include "ui/list_box_base.h"
#include "ui/offset_graphics.h"
#include "ui/scrollable.h"
#include "ui/scrollbar2.h"

#include <cstdint>
#include <vector>

namespace cl {
namespace ui {

// A list that scrolls: vertical drags glide the rows up and down (never past the first or the last), a
// scroll bar at the right shows where they are and can be dragged, and a pen that moved more than 10 pixels
// is a drag, not a tap: the row the press lit up goes dark again and the focus it took goes back.
class scrollable_listbox : public list_box_base, public i_y_scrollable {
public:
    static constexpr double scroll_speed = 8.0;
    static constexpr double scroll_smoothing = 0.15;
    static constexpr int bar_width = 16;
    static constexpr int tap_slop = 10;

    scrollable_listbox();

    void set_rect(const platform::RECT& r) override;
    void layout() override;
    void update(unsigned long now_ms) override;
    void on_pen_down(const platform::POINT& p) override;
    void on_pen_move(const platform::POINT& p) override;
    void on_pen_up(const platform::POINT& p) override;
    // Up and Down move the focus (into and out of blocks too) and scroll so that the focused row shows.
    void on_key_down(int key) override;
    // Moves the rows by delta pixels (positive: towards the first row).
    void scroll_y(int delta) override;
    // Room to scroll past the last row, so that rows under something drawn over the list's bottom (the
    // tickers) can be brought into view.
    void set_end_space(int pixels);
    // The reader's place, kept across a rebuild at another width: the row at the top of the view (the first
    // whose bottom shows; -1 for an empty list) and how far the view starts into it with its gap above, in
    // thousandths of that height. show_place jumps there, as near as the list's end allows.
    struct place {
        int row = -1;
        int into = 0;
    };
    place top_place() const;
    int top_row() const { return top_place().row; }
    void show_place(const place& where);
    void show_from(int row) { show_place(place{row, 0}); }
    // A place to show once the rows are there (a page rebuilt from its record fills its list later).
    void keep_place(const place& where) { kept = where; }
    void show_kept_place();
    // The place as the values of a history record: none at the top of the list; and back.
    std::vector<std::int32_t> place_record() const;
    void keep_place_record(const std::vector<std::int32_t>& values);

    // The offset drawn now (0 or negative) and the one it glides to.
    double offset() const { return scroll.value(0); }
    double target() const { return scroll.value(1); }
    const zor::ui::scrollbar2& bar() const { return scrollbar; }

protected:
    platform::POINT content_point(const platform::POINT& p) const;
    int content_bottom() const;
    // Scrolls just enough for the row, with its gaps, to be in the view (above the end space).
    void show_row(const list_box_item_base& row);
    void update_range();
    // The press lit a row; a drag is no choice, so the focus goes back to where it was before the press.
    void undo_press();

    cl::aff::move_affector scroll;
    offset_graphics view;
    zor::ui::scrollbar2 scrollbar;
    bool dragging = false;
    bool bar_captured = false;
    int last_bar_position = 0;
    int end_space = 0;
    place kept;
    // The focus before the last press: the list's row and, when that row is a block, the block's row.
    std::wstring focus_before_press;
    std::wstring inner_focus_before_press;
};

// The list pages create: drawn on a light grey ground through the scroll offset, with the bar on top.
class list_box2 : public scrollable_listbox {
public:
    static constexpr platform::COLORREF ground = 0xDDDDDD;

    list_box2();
    void draw(i_graphics& g, bool force) override;
};

} // namespace ui
} // namespace cl
