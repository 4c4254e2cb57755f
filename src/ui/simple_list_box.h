#pragma once

#include "ui/control_base.h"

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

// Rows stacked one under the other with a gap; no focus, keys or scrolling.
class simple_list_box : public control_base {
public:
    using item_ptr = boost::shared_ptr<i_list_box_item>;

    explicit simple_list_box(int gap = 4) : item_gap(gap) {}

    void add_item(const item_ptr& item);
    void clear();
    const std::list<item_ptr>& items() const { return rows; }

    void update(unsigned long now_ms) override;
    // Each visible row gets the rectangle under the previous one, as high as that one was.
    void layout() override;
    void draw(i_graphics& g, bool force) override;

private:
    std::list<item_ptr> rows;
    int item_gap;
};

} // namespace ui
} // namespace cl
