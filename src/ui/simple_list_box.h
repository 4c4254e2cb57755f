#pragma once

#include "ui/i_control.h"

#include <boost/shared_ptr.hpp>

#include <list>
#include <string>

namespace cl {
namespace ui {

// A row of a small fixed list: selectable, tagged, and named by its type.
class i_list_box_item : public i_control {
public:
    virtual void set_selected(bool selected) = 0;
    virtual bool is_selected() const = 0;
    virtual void set_tag(int a, int b) = 0;
    virtual std::wstring type_name() const = 0;
    virtual std::wstring text() const = 0;
    virtual std::wstring sub_text() const { return std::wstring(); }
};

// Rows stacked one under the other with a gap; no focus, keys or scrolling.
class simple_list_box : public i_control {
public:
    using item_ptr = boost::shared_ptr<i_list_box_item>;

    explicit simple_list_box(int gap = 4) : item_gap(gap) {}

    void add_item(const item_ptr& item);
    void clear();
    const std::list<item_ptr>& items() const { return rows; }

    bool is_visible() const override { return true; }
    void set_visible(bool) override {}
    bool is_dirty() const override { return dirty; }
    void set_dirty(bool d) override { dirty = d; }
    platform::RECT get_rect() const override { return rect; }
    void set_rect(const platform::RECT& r) override { rect = r; }
    void update(unsigned long now_ms) override;
    // Each visible row gets the rectangle under the previous one, as high as that one was.
    void layout() override;
    void draw(i_graphics& g, bool force) override;

private:
    std::list<item_ptr> rows;
    platform::RECT rect;
    bool dirty = true;
    int item_gap;
};

} // namespace ui
} // namespace cl
