#pragma once

#include "content/i_switchable.h"
#include "ui/affectors.h"
#include "ui/control_base.h"
#include "ui/oscillation_arrow.h"
#include "ui/round_control.h"
#include "ui/text_block.h"
#include "utils/signal.h"

#include <memory>
#include <string>
#include <vector>

namespace zor {
namespace ui {

// The tabs of a page's contents, one shown at a time, with bouncing arrows towards the neighbours. It
// asks for the previous or next content; the page answers by switching the strip and this bar together.
class navigation_bar : public cl::ui::control_base, public zor::i_switchable {
public:
    static constexpr double slide_speed = 1.0; // hundredths of a tab per millisecond
    static constexpr double slide_smoothing = 0.18;

    // What a loader gives for each content.
    struct tab_record {
        std::wstring id;
        std::wstring caption;
        platform::COLORREF text_color = 0xFFFFFF;
        platform::COLORREF back_color = 0;
        int style = 2;
    };

    // A white rounded card with the caption in the content's colour and small marks towards neighbours.
    class tab : public cl::ui::round_control {
    public:
        static constexpr int mark_inset = 15;
        static constexpr int caption_space = 16;

        tab(const std::wstring& caption, platform::COLORREF colour);
        tab(const tab&) = delete;
        tab& operator=(const tab&) = delete;

        void set_frame(const platform::RECT& frame) { frame_rect = frame; }
        // Shortens the caption with "..." until it fits between the marks.
        void layout() override;
        void draw(cl::ui::i_graphics& g, bool force) override;
        void set_marks(bool left, bool right) {
            show_left = left;
            show_right = right;
        }
        const std::wstring& shown_caption() const { return text.get_text(); }
        const std::wstring& full_caption() const { return caption; }
        platform::RECT frame() const { return frame_rect; }
        platform::RECT inner() const { return inner_rect; }
        platform::RECT caption_area() const;

    private:
        std::wstring caption;
        platform::COLORREF colour;
        platform::RECT frame_rect;
        platform::RECT inner_rect;
        cl::ui::text_block text;
        bool show_left = true;
        bool show_right = true;
        cl::ui::image_ptr left_mark;
        cl::ui::image_ptr right_mark;
        platform::POINT left_point;
        platform::POINT right_point;
    };

    navigation_bar();

    utils::signal<utils::function0<void>> previous_requested;
    utils::signal<utils::function0<void>> next_requested;

    void add_tab(const tab_record& record);
    void clear();
    int tab_count() const { return static_cast<int>(tabs.size()); }
    int current_index() const { return current; }
    const tab& tab_at(int i) const { return *tabs.at(static_cast<std::size_t>(i)); }
    const cl::aff::move_affector& slide() const { return slide_anim; }
    platform::RECT left_arrow_rect() const { return left_arrow.get_rect(); }
    platform::RECT right_arrow_rect() const { return right_arrow.get_rect(); }
    bool arrow_shown(bool left) const { return (left ? left_arrow : right_arrow).is_visible(); }

    // -1 when the bar cannot make the move (no tabs, or no tab on that side).
    int switch_to(int direction, int index) override;

    bool is_dirty() const override { return dirty || arrows_dirty; }
    // The arrows moving alone redraw only the strips they bounce in.
    void update(unsigned long now_ms) override;
    void layout() override;
    void draw(cl::ui::i_graphics& g, bool force) override;
    void on_key_down(int key) override;
    void on_pen_down(const platform::POINT& p) override;

private:
    void place_arrows();
    platform::RECT arrow_band(const cl::ui::oscillation_arrow& arrow, bool left_side) const;
    bool at_rest() const;

    std::vector<std::unique_ptr<tab>> tabs;
    int current = 0;
    cl::aff::move_affector slide_anim;
    cl::ui::oscillation_arrow left_arrow;
    cl::ui::oscillation_arrow right_arrow;
    bool arrows_dirty = false;
    platform::RECT left_drawn;
    platform::RECT right_drawn;
};

} // namespace ui
} // namespace zor
