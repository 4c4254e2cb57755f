#pragma once

#include "ui/round_control.h"

#include <string>

namespace cl {
namespace ui {

class list_box_base;

// A row of a list box: a rounded card with a unique key, filled blue while it has the focus. Derived rows
// draw their own content and set their height in layout.
class list_box_item_base : public round_control {
public:
    static constexpr platform::COLORREF focused_colour = 0x3B3CDB;
    // Small print beside a row or a group title: how old what it shows is.
    static constexpr platform::COLORREF note_colour = 0x6E6E6E;

    list_box_item_base(list_box_base* owner, const std::wstring& key);

    // Marking a row dirty marks its list too.
    void set_dirty(bool d) override;
    void update(unsigned long) override {}
    // Takes the list's next top; derived rows then set their height.
    void layout() override;
    // Background, corners, then the content (forced).
    void draw(i_graphics& g, bool force) override;
    void set_focused(bool f) override;

    virtual void on_focus_changed(bool) {}
    virtual void on_activated() {}
    virtual bool is_selectable() const { return true; }
    virtual int top() const { return rect.top; }
    virtual int bottom() const { return rect.bottom; }
    virtual void draw_content(i_graphics& g, bool force) = 0;
    virtual std::wstring type_name() const = 0;
    // A row that is itself a list (a block) gives that list.
    virtual list_box_base* as_list() { return nullptr; }

    const std::wstring& key() const { return item_key; }
    list_box_base* owner() const { return owning_list; }
    void set_owner(list_box_base* list) { owning_list = list; }
    void set_draw_corners(bool on) { draw_corners = on; }
    void set_fill_background(bool on) { fill_background = on; }

protected:
    // The row's rectangle from the list's left edge to its content edge, at the layout top.
    void place(int height);

    list_box_base* owning_list;
    std::wstring item_key;
    bool draw_corners = true;
    bool fill_background = true;
    int layout_top = 0;
};

} // namespace ui
} // namespace cl
