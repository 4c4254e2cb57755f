#pragma once

#include "app/content_factory.h"
#include "app/page.h"
#include "ui/i_control.h"

#include <boost/noncopyable.hpp>

#include <memory>
#include <string>

namespace zor {
namespace app {

// The one control the frame loop talks to: it owns the page and forwards everything to it, and rebuilds
// the page when the screen turns between portrait and landscape, handing the history over.
class controller : public cl::ui::i_control, private boost::noncopyable {
public:
    explicit controller(std::shared_ptr<content_factory> factory = std::make_shared<available_contents>());
    ~controller() override;

    void init();
    void resize(const platform::RECT& r);
    page& current_page() { return *page_; }

    bool is_visible() const override { return true; }
    void set_visible(bool) override {}
    platform::RECT get_rect() const override { return page_->get_rect(); }
    void set_rect(const platform::RECT& r) override { page_->set_rect(r); }
    void update(unsigned long now_ms) override { page_->update(now_ms); }
    void layout() override { page_->layout(); }
    void draw(cl::ui::i_graphics& g, bool force) override { page_->draw(g, force); }
    void process_event(const cl::app::event& e) override { page_->process_event(e); }
    // The frame loop pauses or resumes; the page's contents hear of it.
    void panel_paused(bool paused) { page_->contents().panel_paused(paused); }

private:
    void on_next_state(const std::wstring& state);
    void listen_to_page();

    std::shared_ptr<content_factory> factory;
    std::unique_ptr<page> page_;
};

} // namespace app
} // namespace zor
