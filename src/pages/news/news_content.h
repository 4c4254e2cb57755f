#pragma once

#include "content/i_page_content.h"
#include "ui/scrollable_listbox.h"
#include "utils/trackable.h"

namespace zor {

// The "News" list of the main page: one row per news category and a last row for the citizen report; a
// tap opens that category's headlines.
class news_content : public i_page_content, public utils::trackable {
public:
    news_content();

    bool is_loaded() const override { return loaded; }
    bool is_failed() const override { return false; }
    std::wstring page_name() const override { return L"news"; }
    std::wstring title() const override { return L"News"; }
    std::wstring name() const override { return L"news"; }
    platform::COLORREF color() const override { return 0; }

    bool is_dirty() const override { return list.is_dirty(); }
    void set_dirty(bool d) override { list.set_dirty(d); }
    platform::RECT get_rect() const override { return list.get_rect(); }
    // The list is 4 pixels in from the left and right.
    void set_rect(const platform::RECT& r) override;
    // The first call builds the rows.
    void update(unsigned long now_ms) override;
    void layout() override { list.layout(); }
    void draw(cl::ui::i_graphics& g, bool force) override { list.draw(g, force); }
    void process_event(const cl::app::event& e) override { list.process_event(e); }
    void scroll_y(int dy) override { list.scroll_y(dy); }

    cl::ui::list_box2& rows() { return list; }

private:
    void build();
    void on_select(std::wstring key);

    cl::ui::list_box2 list;
    bool loaded = false;
};

} // namespace zor
