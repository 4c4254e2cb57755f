#pragma once

#include "chrome/article_view2.h"
#include "content/i_page_content.h"
#include "utils/trackable.h"

#include <boost/shared_ptr.hpp>

namespace zor {

// The terms and conditions, read once from terms_conditions.xml beside the panel library and shown like an
// article. A missing or broken file leaves the page blank.
class terms_condition_content : public i_page_content, public utils::trackable {
public:
    // Reads the file in the folder (the panel library's when empty).
    explicit terms_condition_content(const std::wstring& folder = std::wstring());

    bool is_loaded() const override { return loaded; }
    bool is_failed() const override { return false; }
    std::wstring page_name() const override { return L"terms_condition"; }
    std::wstring title() const override { return L"Terms & Conditions"; }
    std::wstring name() const override { return L"terms_condition"; }
    platform::COLORREF color() const override { return 0; }
    // With the reading place once scrolled, as an article keeps it.
    content_state get_state() const override;
    void resume(const content_state& s) override;

    bool is_dirty() const override { return view->is_dirty(); }
    void set_dirty(bool d) override { view->set_dirty(d); }
    platform::RECT get_rect() const override { return view->get_rect(); }
    void set_rect(const platform::RECT& r) override { view->set_rect(r); }
    void update(unsigned long now_ms) override {
        if (loaded)
            view->update(now_ms);
    }
    void layout() override {
        if (loaded)
            view->layout();
    }
    void draw(cl::ui::i_graphics& g, bool) override {
        if (loaded)
            view->draw(g, true);
    }
    void process_event(const cl::app::event& e) override { view->process_event(e); }
    void scroll_y(int dy) override { view->scroll_y(dy); }

    ui::article_view2& article_view() { return *view; }

private:
    bool read(const std::wstring& folder);

    boost::shared_ptr<ui::article_view2> view;
    bool loaded = false;
};

} // namespace zor
