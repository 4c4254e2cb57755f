#pragma once

#include "app/i_page_content.h"

namespace zor {
namespace app {

// A content whose kind, tab and history record exist but whose body is not part of this build: it takes
// its place in the strip and the tabs, and draws nothing over the strip's background.
class unbuilt_content : public i_page_content {
public:
    unbuilt_content(std::wstring page, std::wstring title, std::wstring name, platform::COLORREF colour)
        : page(std::move(page)), caption(std::move(title)), key(std::move(name)), colour(colour) {}

    bool is_loaded() const override { return true; }
    bool is_failed() const override { return false; }
    std::wstring page_name() const override { return page; }
    std::wstring title() const override { return caption; }
    std::wstring name() const override { return key; }
    platform::COLORREF color() const override { return colour; }

    bool is_visible() const override { return true; }
    void set_visible(bool) override {}
    bool is_dirty() const override { return false; }
    platform::RECT get_rect() const override { return rect; }
    void set_rect(const platform::RECT& r) override { rect = r; }
    void update(unsigned long) override {}
    void layout() override {}
    void draw(cl::ui::i_graphics&, bool) override {}

private:
    std::wstring page;
    std::wstring caption;
    std::wstring key;
    platform::COLORREF colour;
    platform::RECT rect;
};

} // namespace app
} // namespace zor
