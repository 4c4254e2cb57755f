#pragma once

#include "ui/control_base.h"
#include "ui/list_box_item_base.h"
#include "utils/signal.h"

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

namespace cl {
namespace ui {

// A vertical list of keyed rows with one focused row: the arrow keys move the focus, Enter and taps
// activate. A list may be a row of an outer list (a block); the focus then moves on into the outer list.
class list_box_base : public control_base {
public:
    using item_ptr = boost::shared_ptr<list_box_item_base>;
    static const char* const duplicate_key_error;

    list_box_base();

    utils::signal<utils::function1<void, std::wstring>> focus_changed;
    utils::signal<utils::function1<void, std::wstring>> item_activated;

    void set_rect(const platform::RECT& r) override;
    void update(unsigned long now_ms) override;
    void layout() override;
    void draw(i_graphics& g, bool force) override;
    void on_key_down(int key) override;
    void on_pen_down(const platform::POINT& p) override;
    void on_pen_up(const platform::POINT& p) override;

    virtual int content_right() const { return rect.right - margin_right; }
    // Throws std::runtime_error (duplicate_key_error) when the key is taken, leaving the list unchanged.
    virtual void add_item(const item_ptr& item);
    virtual void insert_front(const item_ptr& item);
    virtual void insert_before(const item_ptr& item, const std::wstring& key);
    virtual void remove_item(const std::wstring& key);
    virtual void clear();
    virtual const std::vector<item_ptr>& items() const { return rows; }
    // Blocks are searched too.
    virtual list_box_item_base* find_item(const std::wstring& key) const;
    virtual list_box_item_base* focused_item() const { return find_item(focused); }
    virtual int item_count() const { return static_cast<int>(rows.size()); }
    virtual int next_item_top() const { return cursor + item_gap; }
    virtual int gap() const { return item_gap; }
    virtual int right_margin() const { return margin_right; }
    virtual void set_gap(int g) { item_gap = g; }
    virtual void set_right_margin(int m) { margin_right = m; }
    virtual void focus_index(int index);
    virtual void focus_item(const std::wstring& key);
    virtual void focus_next();
    virtual void focus_previous();
    virtual void set_select_on_press(bool on) { select_on_press = on; }
    virtual std::wstring key_at(const platform::POINT& p) const;

    const std::wstring& focused_key() const { return focused; }
    // The list this one is a row of, if any.
    void set_outer(list_box_base* list) { outer = list; }

protected:
    void check_key(const item_ptr& item) const;
    void activate(list_box_item_base& item);
    int index_of(const std::wstring& key) const;

    int margin_right = 4;
    int item_gap = 4;
    int cursor = 0;
    std::vector<item_ptr> rows;
    std::wstring focused;
    platform::POINT press;
    bool select_on_press = true;
    list_box_base* outer = nullptr;
};

} // namespace ui
} // namespace cl
