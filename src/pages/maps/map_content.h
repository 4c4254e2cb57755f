#pragma once

#include "content/i_page_content.h"
#include "ui/affectors.h"
#include "ui/async_picture.h"
#include "utils/trackable.h"

#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <string>

namespace zor {

// A weather map picture larger than the screen with items on it: the user drags the map (it glides to the
// new place and never shows anything beyond the picture), moves a focus between the items with the arrow
// keys or a tap, and taps the focused item again to open it. Arrows on the edges show where more map lies.
class map_content : public i_page_content, public utils::trackable, private boost::noncopyable {
public:
    static constexpr int pan_start = 9;  // pixels the pen moves before the map follows
    static constexpr int tap_reach = 15; // pixels a tap may wander
    static constexpr int arrow_inset = 20;
    static constexpr double glide_speed = 2.0; // pixels per millisecond
    static constexpr double glide_smoothing = 0.3;
    enum direction { left = 0, right = 1, up = 2, down = 3 };
    static constexpr std::size_t no_focus = static_cast<std::size_t>(-1);

    map_content();
    ~map_content() override;

    bool is_loaded() const override { return map_loaded; }
    // The map or its picture could not be had (or the map does not exist); the wait ends there.
    bool is_failed() const override;
    std::wstring title() const override { return std::wstring(); }
    platform::COLORREF color() const override { return 0xDCC328; }

    void set_rect(const platform::RECT& r) override;
    void update(unsigned long now_ms) override;
    void layout() override;
    void draw(cl::ui::i_graphics& g, bool force) override;
    void on_key_down(int key) override;
    void on_pen_down(const platform::POINT& pt) override;
    void on_pen_move(const platform::POINT& pt) override;
    void on_pen_up(const platform::POINT& pt) override;
    // The map pans itself; the page's vertical drag has nothing to scroll.
    void scroll_y(int) override {}

    // Drops the map and its items; the next update asks for them again.
    virtual void free_content();

    // Positive dx shows more map to the right, positive dy more below.
    void pan(int dx, int dy);
    void move_focus(int dir);
    std::size_t focus() const { return focus_index; }
    // Where the map is shown on screen.
    const platform::RECT& view() const { return view_rect; }
    // Offsets of the view into the picture: 0 the current value, 1 where it glides to.
    double offset_x(int which) const { return horizontal.value(which); }
    double offset_y(int which) const { return vertical.value(which); }
    // Positions of the four arrows (left, right, up, down); an arrow without its picture stays at 0, 0.
    platform::POINT arrow_position(int dir) const { return arrow_at[dir]; }
    bool arrow_shown(int dir) const;
    // Pen and key inputs since the last one (0 right after an input).
    int idle_frames() const { return idle; }

    virtual std::size_t item_count() const = 0;
    // The item's box on the map picture.
    virtual platform::RECT item_box(std::size_t i) const = 0;

protected:
    // Queues the map; called at the first update.
    virtual void request_map() = 0;
    // The map once loaded (null until then, or when there is none), and its picture.
    virtual boost::shared_ptr<cl::i_async_info_object> geo_object() const = 0;
    virtual boost::shared_ptr<cl::ui::async_picture> map_picture() const = 0;
    // The map and its picture are here: read the items.
    virtual void build_items() = 0;
    virtual void drop_items() = 0;
    // A hidden item takes no focus.
    virtual bool item_shown(std::size_t) const { return true; }
    virtual void open_focused() = 0;
    virtual void on_enter() { open_focused(); }
    virtual void focus_changed() {}
    // Over the map; x and y are the view's offsets into the picture.
    virtual void draw_items(cl::ui::i_graphics& g, int x, int y) = 0;
    // The view inside the content rectangle: the whole of it, or the picture's size centred in it where the
    // picture is smaller.
    virtual platform::RECT make_view() const;

    void set_focus(std::size_t i);
    // A box on the picture, seen with the view at offsets (x, y), stands whole inside the view and clear
    // of the arrows shown: other labels than the focused one are drawn only then, so none shows cut at an
    // edge or covers an arrow.
    bool in_clear_view(const platform::RECT& box, int x, int y) const;
    // A filled box with its text centred, on screen, cut to the view.
    void draw_text_box(cl::ui::i_graphics& g, const platform::RECT& box, const std::wstring& text,
                       const cl::ui::font_ptr& font, platform::COLORREF fill, platform::COLORREF ink) const;
    int picture_width() const;
    int picture_height() const;

    platform::RECT view_rect;
    std::size_t focus_index = 0;

private:
    void check_loaded();
    void clamp_offsets();
    void tap(const platform::POINT& pt);

    bool pressed = false;
    bool panning = false;
    platform::POINT press;
    platform::POINT last;
    int idle = 0;
    platform::POINT arrow_at[4];
    cl::aff::move_affector horizontal{glide_speed, glide_smoothing};
    cl::aff::move_affector vertical{glide_speed, glide_smoothing};
    cl::ui::image_ptr image;
    cl::ui::image_ptr arrows[4];
    bool requested = false;
    bool map_loaded = false;
};

} // namespace zor
