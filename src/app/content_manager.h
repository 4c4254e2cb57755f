#pragma once

#include "chrome/opening_control.h"
#include "content/content_state.h"
#include "content/i_page_content.h"
#include "content/i_switchable.h"
#include "ui/affectors.h"
#include "ui/control_base.h"
#include "ui/offset_graphics.h"
#include "ui/scrollable.h"
#include "ui/text_block.h"
#include "ui/wait_icon.h"
#include "utils/signal.h"
#include "utils/trackable.h"

#include <boost/noncopyable.hpp>
#include <boost/ptr_container/ptr_vector.hpp>

#include <memory>

namespace zor {

// The strip of a page's contents, one current: it slides to a neighbour with a smoothed chase, draws at
// most the two contents visible during a slide, shows a wait icon while a content has no data and a fixed
// text when its loading failed, plays the page-opening animation, and relays the contents' requests to the
// page one frame later.
class content_manager : public cl::ui::control_base,
                        public i_switchable,
                        public cl::ui::i_x_scrollable,
                        public cl::ui::i_y_scrollable,
                        public utils::trackable,
                        private boost::noncopyable {
public:
    static constexpr double slide_speed = 4.8; // pixels per millisecond
    static constexpr double slide_smoothing = 0.18;
    static const wchar_t* const unavailable_text;

    content_manager();
    ~content_manager() override;

    utils::signal<utils::function1<void, content_state>> request;
    utils::signal<utils::function0<void>> back;
    utils::signal<utils::function0<void>> layout_changed;
    utils::signal<utils::function1<void, int>> switched;
    utils::signal<utils::function0<void>> opened;

    // Takes ownership; inserts before index when it is a valid position, appends otherwise. A null
    // content is refused with the pointer container's error.
    void add(int index, i_page_content* content);
    void clear();
    int find(const std::wstring& key) const;
    i_page_content* current_content();
    int current_index() const { return current; }
    int size() const { return static_cast<int>(contents.size()); }
    i_page_content& at(int i) { return contents.at(static_cast<std::size_t>(i)); }
    void set_ready(bool r) { ready = r; }
    bool is_ready() const { return ready; }
    void request_opening() { open_pending = true; }
    // Tells every content that the panel pauses or resumes.
    void panel_paused(bool paused);
    bool opening_requested() const { return open_pending; }
    const zor::ui::opening_control& opening_view() const { return opening; }
    const cl::aff::move_affector& slide() const { return slider; }

    int switch_to(int direction, int index) override;
    virtual void drag_x(int dx);
    virtual void drag_y(int dy);

    bool is_visible() const override { return true; }
    void set_visible(bool) override {}
    bool is_dirty() const override { return needs_redraw || wait_turned; }
    // Dirty for more than the wait icon turning.
    bool has_news() const { return needs_redraw; }
    void set_dirty(bool d) override {
        needs_redraw = d;
        wait_turned = wait_turned && d;
    }
    void set_rect(const platform::RECT& r) override;
    void update(unsigned long now_ms) override;
    void layout() override;
    void draw(cl::ui::i_graphics& g, bool force) override;
    void process_event(const cl::app::event& e) override;

private:
    void on_request(content_state s);
    void on_back();
    void on_layout_changed();
    void draw_content(cl::ui::i_graphics& g, int index, int dx);
    int strip_width() const { return rect.right - rect.left; }
    bool showable(const i_page_content& c) const { return ready && c.is_loaded(); }

    boost::ptr_vector<i_page_content> contents;
    int current = 0;
    bool ready = true;
    cl::ui::offset_graphics offset_view;
    cl::aff::move_affector slider;
    cl::ui::wait_icon wait;
    zor::ui::opening_control opening;
    bool open_pending = false;
    bool opening_was_visible = false;
    bool opening_visible = false;
    bool current_failed = false;
    std::unique_ptr<cl::ui::text_block> unavailable;
    cl::ui::font_ptr unavailable_font;
    content_state pending;
    bool pending_request = false;
    bool pending_back = false;
    bool needs_redraw = true;
    bool wait_turned = false;
    bool content_shown = false;
};

} // namespace zor
