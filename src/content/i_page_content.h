#pragma once

#include "content/content_state.h"
#include "ui/control_base.h"
#include "ui/scrollable.h"
#include "ui/text_block.h"
#include "utils/signal.h"

#include <memory>

namespace zor {

// One content of a page's strip (a headline list, the weather, an article...). It tells the strip whether
// its data are there, how its tab reads, and how to show it again from the history; it asks the page to go
// forward, back, or to lay out again through its signals.
class i_page_content : public cl::ui::control_base, public cl::ui::i_y_scrollable {
public:
    i_page_content();
    ~i_page_content() override;

    virtual bool is_loaded() const = 0;
    virtual bool is_failed() const = 0;
    virtual std::wstring page_name() const = 0;
    virtual std::wstring title() const = 0;
    virtual std::wstring name() const = 0;
    virtual platform::COLORREF color() const = 0;
    // page_name(), [name(), "", ""] unless the content keeps more.
    virtual content_state get_state() const;
    // Shown again from a state its get_state gave (back, or the page rebuilt when the screen turns): the
    // content takes up what it kept there.
    virtual void resume(const content_state&) {}
    virtual void activate() {}
    virtual void deactivate() {}
    // The panel is paused (hidden or unfocused) and later resumed: what runs by itself holds still
    // meanwhile.
    virtual void panel_paused() {}
    virtual void panel_resumed() {}
    // A content is always shown while its strip is; what it hides is its own business.
    bool is_visible() const override { return true; }
    void set_visible(bool) override {}

    utils::signal<utils::function1<void, content_state>> request;
    utils::signal<utils::function0<void>> back;
    utils::signal<utils::function0<void>> layout_changed;

    // The content's own error view: a warning icon and two lines over a grey fill, placed for the
    // content rectangle's shape.
    void show_error();
    void hide_error() { error_shown = false; }
    bool has_error() const { return error_shown; }
    void draw_error(cl::ui::i_graphics& g);

    static const wchar_t* const error_text_1;
    static const wchar_t* const error_text_2;
    platform::RECT error_icon_box() const { return icon_box; }
    platform::RECT error_text_rect(int which) const { return which == 0 ? text_rect_1 : text_rect_2; }

private:
    bool error_shown = false;
    platform::RECT icon_box;
    platform::RECT text_rect_1;
    platform::RECT text_rect_2;
    cl::ui::image_ptr icon;
    std::unique_ptr<cl::ui::text_block> text_1;
    std::unique_ptr<cl::ui::text_block> text_2;
};

} // namespace zor
