#pragma once

#include "ui/list_box_base.h"
#include "ui/list_box_item_base.h"

namespace cl {
namespace ui {

// A titled group of rows inside an outer list: a row of that list which is itself a list, indented by the
// outer list's margin on both sides. Its rows' activations reach the outer list, and a tap on the title
// activates the group itself. Without rows it shows nothing.
class block_list_box_item : public list_box_base, public list_box_item_base {
public:
    static constexpr int title_height = 35;

    block_list_box_item(const std::wstring& key, list_box_base* owner);

    void set_title(const std::wstring& text);
    const std::wstring& title() const { return title_text; }
    // A short grey note at the right of the title (how old the rows are); empty for none.
    void set_note(const std::wstring& text);
    const std::wstring& note() const { return note_text; }

    // Both faces share one rectangle and one set of flags.
    bool is_visible() const override { return list_box_item_base::is_visible(); }
    void set_visible(bool v) override { list_box_item_base::set_visible(v); }
    bool is_dirty() const override { return list_box_base::is_dirty() || list_box_item_base::is_dirty(); }
    void set_dirty(bool d) override;
    platform::RECT get_rect() const override { return list_box_base::get_rect(); }
    void set_rect(const platform::RECT& r) override;
    void update(unsigned long now_ms) override { list_box_base::update(now_ms); }
    void layout() override;
    void draw(i_graphics& g, bool force) override;
    bool hit_test(const platform::POINT& p) const override { return list_box_item_base::hit_test(p); }
    void process_event(const cl::app::event& e) override { list_box_base::process_event(e); }
    void on_key_down(int key) override { list_box_base::on_key_down(key); }
    void on_key_up(int) override {}
    void on_pen_down(const platform::POINT& p) override { list_box_base::on_pen_down(p); }
    void on_pen_move(const platform::POINT&) override {}
    void on_pen_up(const platform::POINT& p) override;
    // Losing the outer list's focus takes the highlight off the row that had it.
    void on_focus_changed(bool focused) override;

    int content_right() const override { return list_box_base::rect.right; }
    void add_item(const item_ptr& item) override;
    void insert_front(const item_ptr& item) override;
    void insert_before(const item_ptr& item, const std::wstring& key) override;
    void remove_item(const std::wstring& key) override;
    void clear() override;
    void focus_index(int index) override;
    void focus_item(const std::wstring& key) override;

    int top() const override { return list_box_item_base::rect.top; }
    int bottom() const override;
    void draw_content(i_graphics&, bool) override {}
    std::wstring type_name() const override { return L"block_list_box_item"; }
    list_box_base* as_list() override { return this; }

private:
    void relayout_outer();
    void follow_focus();
    void forward_activation(std::wstring key);

    platform::RECT title_rect;
    platform::RECT caption_rect;
    std::wstring title_text;
    std::wstring note_text;
};

} // namespace ui
} // namespace cl
