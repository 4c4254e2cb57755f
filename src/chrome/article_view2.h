#pragma once

#include "chrome/tap_tracker.h"
#include "ui/affectors.h"
#include "ui/async_picture.h"
#include "ui/round_control.h"
#include "ui/scrollable.h"
#include "ui/scrollbar2.h"
#include "ui/text_block.h"
#include "utils/signal.h"
#include "utils/trackable.h"

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace zor {
namespace ui {

// The body of an article: its headline across the top, then its picture in the top-left corner with a mark
// that invites a tap, the paragraphs flowing right of it and then at full width below, a scroll bar, and
// smooth scrolling by drags and keys.
class article_view2 : public cl::ui::round_control, public cl::ui::i_y_scrollable, public utils::trackable {
public:
    static constexpr double scroll_speed = 4.0;
    static constexpr double scroll_smoothing = 0.1;
    static constexpr int picture_box = 200;

    article_view2();

    // The picture was tapped (pressed and lifted within the tap distance), or Enter pressed while there is
    // one.
    utils::signal<utils::function0<void>> picture_clicked;

    // A line in small grey type above the text (how old a held copy is); empty for none. Laid out with the
    // text.
    void set_note(const std::wstring& text) { note = text; }
    // The headline in bold over the picture and the text, at full width; empty for none. Laid out with the
    // text.
    void set_heading(const std::wstring& text) { heading = text; }
    void set_content(const std::wstring& location, const std::vector<std::wstring>& paragraphs,
                     const boost::shared_ptr<cl::ui::async_picture>& picture);

    void update(unsigned long now_ms) override;
    void layout() override;
    void draw(cl::ui::i_graphics& g, bool force) override;
    bool hit_test(const platform::POINT& p) const override { return cl::ui::contains(text_rect, p); }
    void process_event(const cl::app::event& e) override;
    void on_key_down(int key) override;
    void on_pen_down(const platform::POINT& p) override;
    void on_pen_move(const platform::POINT& p) override;
    void on_pen_up(const platform::POINT& p) override;
    void scroll_y(int delta) override;

    // The reader's place, kept across a layout at another width: the paragraph at the top of the view and how
    // far into it, in thousandths of its height (or, when the view starts above it, minus the pixels
    // between); {-1, 0} at the top of the article. go_to scrolls there at once, as near as the end allows.
    struct place {
        int paragraph = -1;
        int into = 0;
    };
    place reading_place() const;
    void go_to(const place& where);
    // Goes to the place now, or once the text is laid out (a page rebuilt from its record fills it later).
    void keep_place(const place& where);
    // The place as the values of a history record: none at the top; and back.
    std::vector<std::int32_t> place_record() const;
    void keep_place_record(const std::vector<std::int32_t>& values);

    const std::vector<boost::shared_ptr<cl::ui::text_block>>& pieces() const { return blocks; }
    int scroll_offset() const { return offset; }
    bool is_scrollable() const { return scrollable; }
    platform::RECT text_area() const { return text_rect; }
    const boost::shared_ptr<cl::ui::async_picture>& shown_picture() const { return picture; }

private:
    bool has_picture() const;
    void layout_picture();
    void layout_text();
    void show_kept_place();
    // The offset that shows the text's end (0 when it fits); there must be blocks.
    int end_offset() const;
    // Drawn at this offset at once, without gliding.
    void jump_to(int new_offset);
    // The top of a paragraph's first block and the bottom of its last; false when it has none.
    bool paragraph_extent(int paragraph, int& top, int& bottom) const;
    platform::RECT picture_rect() const;
    // Where the picture and the text start: under the headline.
    int body_top() const { return text_rect.top + heading_height; }
    void on_picture_clicked();

    std::wstring location;
    std::wstring note;
    std::wstring heading;
    int heading_height = 0;
    std::vector<std::wstring> paragraphs;
    std::vector<boost::shared_ptr<cl::ui::text_block>> blocks;
    // The paragraph each block belongs to; -1 for the headline and the note.
    std::vector<int> block_paragraph;
    place kept;
    boost::shared_ptr<scrollbar2> scrollbar;
    platform::RECT text_rect;
    platform::RECT scrollbar_rect;
    boost::shared_ptr<cl::ui::async_picture> picture;
    boost::shared_ptr<cl::ui::picture> enlarge_mark;
    platform::POINT drag_point;
    tap_tracker tap;
    bool animating = false;
    bool dragging = false;
    bool scrollable = false;
    int offset = 0;
    int key_step = 0;
    cl::aff::move_affector scroll_anim;
    cl::ui::font_ptr font;
};

} // namespace ui
} // namespace zor
