#pragma once

#include "content/i_page_content.h"
#include "ui/affectors.h"
#include "utils/signal.h"
#include "utils/trackable.h"

#include <string>

namespace zor {
namespace ui {

// One strip of the ticker area: it fills itself from the model, slides in from the right when its run
// starts, and slides out to the left when the run ends, after which it reports finished and hides.
class ticker : public zor::i_page_content, public utils::trackable {
public:
    static constexpr double move_speed = 0.4; // pixels per millisecond
    enum direction_code { left_to_right = 0, upwards = 1, right_to_left = 2, downwards = 3, none = 6 };
    enum anim_code { still = 0, running = 1, running_out = 2 };

    ticker();

    utils::signal<utils::function1<void, ticker*>> finished;

    bool is_loaded() const override { return ready; }
    bool is_failed() const override { return false; }
    std::wstring page_name() const override { return L"ticker"; }
    std::wstring title() const override { return text; }
    std::wstring name() const override { return text; }
    platform::COLORREF color() const override { return background; }

    // Unlike other contents, a ticker hides itself between runs.
    bool is_visible() const override { return control_base::is_visible(); }
    void set_visible(bool v) override { control_base::set_visible(v); }
    // Lays the content out again.
    void set_rect(const platform::RECT& r) override;
    // Fills the ticker until it is ready and moves it.
    void update(unsigned long now_ms) override;
    void layout() override;
    void draw(cl::ui::i_graphics& g, bool force) override;

    virtual bool is_ready() const { return ready; }
    virtual void clear_text();
    virtual void set_text(const std::wstring& t);
    // The tap action.
    virtual void open() = 0;
    // The length of a run in milliseconds (kind 1), 0 for other kinds.
    virtual unsigned long run_length(int kind) const = 0;
    // The command that opens the ticker with a soft key.
    virtual std::wstring action_caption() const = 0;
    virtual void set_ready(bool r);
    virtual void set_background(platform::COLORREF c);
    virtual unsigned long start_time() const { return start; }
    virtual platform::RECT moving_rect() const { return moving; }
    // Loads the content, or asks the model for it.
    virtual void fill() = 0;
    virtual void next_item() {}

    // Slides in from the right edge and stays.
    void start_run(unsigned long now_ms);
    // Slides out to the left; finished follows when it is gone.
    void run_to_end();
    void stop();
    int anim_mode() const { return mode; }
    int direction() const { return dir; }

protected:
    // The content at moving_rect(), drawn clipped to get_rect().
    virtual void draw_content(cl::ui::i_graphics& g) = 0;
    // The content's own rectangles follow moving_rect().
    virtual void layout_content() {}

    bool ready = false;
    std::wstring text;
    int dir = none;
    platform::RECT moving;
    int extent = 0;
    platform::COLORREF background = 0xFFFFFF;
    int mode = still;
    cl::aff::linear_affector anim;
    unsigned long start = 0;
    int end_value = 0;
    bool requested = false;
};

} // namespace ui
} // namespace zor
