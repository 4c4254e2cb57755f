#pragma once

#include "ui/control_base.h"
#include "ui/offset_graphics.h"

#include <boost/shared_ptr.hpp>

#include <list>
#include <string>

namespace cl {
namespace ui {

// A row of a small fixed list: selectable, tagged, and named by its type.
class i_list_box_item : public control_base {
public:
    virtual void set_selected(bool selected) = 0;
    virtual bool is_selected() const = 0;
    virtual void set_tag(int a, int b) = 0;
    virtual std::wstring type_name() const = 0;
    virtual std::wstring text() const = 0;
    virtual std::wstring sub_text() const { return std::wstring(); }
};

// Rows stacked one under the other with a gap; no focus or keys. Rows that reach below the box (a short
// landscape screen) scroll with the finger, drawn on a ground through a clip so none spills out.
class simple_list_box : public control_base {
public:
    using item_ptr = boost::shared_ptr<i_list_box_item>;

    explicit simple_list_box(int gap = 4, platform::COLORREF ground = 0xDDDDDD)
        : item_gap(gap), ground(ground) {}

    void add_item(const item_ptr& item);
    void clear();
    const std::list<item_ptr>& items() const { return rows; }

    void update(unsigned long now_ms) override;
    // Each visible row gets the rectangle under the previous one, as high as that one was.
    void layout() override;
    void draw(i_graphics& g, bool force) override;

    // Moves the rows by a drag of dy pixels (down shows the rows above), within the rows' extent.
    void scroll_y(int dy);
    // How far the rows are moved up.
    int scrolled() const { return shift; }
    // The bottom of the last visible row, as laid out.
    int content_bottom() const;

private:
    int max_shift() const;

    std::list<item_ptr> rows;
    int item_gap;
    platform::COLORREF ground;
    int shift = 0;
    offset_graphics view;
};

} // namespace ui
} // namespace cl
