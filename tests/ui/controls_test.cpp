#include "support/graphics_fixture.h"
#include "ui/control_base.h"
#include "ui/graphics.h"
#include "ui/oscillation_arrow.h"
#include "ui/picture.h"
#include "ui/progress_bar.h"
#include "ui/round_control.h"
#include "ui/static_fonts.h"
#include "ui/text_block.h"
#include "ui/wait_icon.h"

namespace {

using platform::POINT;
using platform::RECT;

class controls : public graphics_fixture {};

TEST_F(controls, the_wait_icon_steps_every_second_update_repeats_after_64_and_draws_only_its_grey_cells) {
    cl::ui::wait_icon icon;
    icon.set_rect(RECT{0, 0, 400, 300});
    EXPECT_EQ(icon.get_rect(), (RECT{100, 50, 300, 250})); // a centred 200 x 200 square
    EXPECT_EQ(icon.cell(0), (RECT{100, 50, 165, 115}));    // cells of 65 with 2-pixel gaps
    EXPECT_EQ(icon.cell(4), (RECT{234, 184, 299, 249}));
    const int start = icon.get_phase();
    icon.update(0);
    EXPECT_EQ(icon.get_phase(), start);
    icon.update(25);
    EXPECT_EQ(icon.get_phase(), (start + 31) % 32);
    for (int i = 2; i < 64; ++i)
        icon.update(i * 25);
    EXPECT_EQ(icon.get_phase(), start);

    clear(0);
    cl::ui::wait_icon fresh;
    fresh.set_rect(RECT{0, 0, 200, 200});
    fresh.draw(*g, true);
    EXPECT_EQ(changed_outside(RECT{0, 0, 200, 200}, 0), 0);
    EXPECT_FALSE(fresh.is_dirty());
    // Phase 31: cell 0 takes entry 31 (not drawn), cell 1 entry 0 (grey 164). Each cell shows a smoothed
    // dot on a circle round the centre, inside the cell: its middle full grey, its edge blended, the cell's
    // corners clear.
    const POINT d0 = fresh.dot(0), d1 = fresh.dot(1);
    EXPECT_EQ(pixel(d0.x + 17, d0.y + 17), 0);
    EXPECT_EQ(pixel(d1.x + 17, d1.y + 17), ui_impl::to_rgb565(0xA4A4A4));
    EXPECT_EQ(d1.y + 17, 100); // cell 1 is left of the centre
    EXPECT_EQ(pixel(0, 67), 0);
    EXPECT_EQ(pixel(64, 131), 0);
    for (int i = 0; i < 8; ++i) {
        const RECT c = fresh.cell(i);
        const POINT d = fresh.dot(i);
        EXPECT_TRUE(d.x >= c.left && d.y >= c.top && d.x + 34 <= c.right && d.y + 34 <= c.bottom) << i;
    }
    int blended = 0;
    for (int y = d1.y; y < d1.y + 34; ++y)
        for (int x = d1.x; x < d1.x + 34; ++x)
            blended += pixel(x, y) != 0 && pixel(x, y) != ui_impl::to_rgb565(0xA4A4A4);
    EXPECT_GE(blended, 8);
}

TEST(picture, layout_places_the_image_by_mode_and_collapses_without_one) {
    cl::ui::image_ptr img(
        new ui_impl::gdi_image(40, 20, std::vector<std::uint16_t>(800), std::vector<std::uint8_t>(800)));
    cl::ui::picture none(cl::ui::picture::centred);
    none.set_rect(RECT{10, 20, 110, 120});
    none.layout();
    EXPECT_EQ(none.get_rect(), (RECT{10, 20, 10, 20}));

    // Centring uses the rectangle's width and height counting both edges: 101 / 2 = 50.
    const std::pair<int, RECT> modes[] = {{cl::ui::picture::top_left, {10, 20, 50, 40}},
                                          {cl::ui::picture::centred, {40, 60, 80, 80}},
                                          {cl::ui::picture::centred_vertically, {10, 60, 50, 80}}};
    for (const auto& m : modes) {
        cl::ui::picture p(img, false, m.first);
        p.set_rect(RECT{10, 20, 110, 120});
        p.layout();
        EXPECT_EQ(p.get_rect(), m.second) << m.first;
    }
}

TEST_F(controls, a_picture_is_clicked_only_inside_its_rectangle) {
    cl::ui::image_ptr img = solid(20, 20, 0xFFFF, 255);
    cl::ui::picture p(img, false, cl::ui::picture::top_left);
    p.set_rect(RECT{100, 100, 200, 200});
    p.layout();
    int clicks = 0;
    p.clicked.connect(utils::function0<void>([&] { ++clicks; }));
    p.process_event(cl::app::event(cl::app::event::pen_down, 0, 105, 105));
    p.process_event(cl::app::event(cl::app::event::pen_down, 0, 150, 150)); // outside the laid-out picture
    EXPECT_EQ(clicks, 1);
    clear(0);
    p.draw(*g, false);
    EXPECT_EQ(pixel(100, 100), 0xFFFF);
    clear(0);
    p.draw(*g, false); // not dirty any more
    EXPECT_EQ(pixel(100, 100), 0);
}

TEST_F(controls, the_progress_bar_stops_five_pixels_inside_the_trough_and_draws_a_slim_track_with_a_knob) {
    cl::ui::progress_bar bar;
    bar.set_rect(RECT{0, 0, 214, 40});
    bar.set_progress(50);
    EXPECT_EQ(bar.bar_rect().right, 7 + 100);
    clear(0x1234);
    bar.draw(*g, true);
    const std::uint16_t red = ui_impl::to_rgb565(0x3B3CDB), grey = ui_impl::to_rgb565(0x5A5A5A);
    EXPECT_EQ(pixel(0, 0), 0); // the controls' black, over the whole rectangle
    EXPECT_EQ(pixel(213, 39), 0);
    EXPECT_EQ(pixel(50, 20), red);     // played
    EXPECT_EQ(pixel(50, 12), 0);       // the track is slim
    EXPECT_EQ(pixel(107, 20), 0xFFFF); // the knob at the bar's end
    EXPECT_EQ(pixel(160, 20), grey);   // still to play
    EXPECT_EQ(pixel(209, 20), 0);      // past the trough's end
    bar.set_progress(100);
    EXPECT_EQ(bar.bar_rect().right, bar.inner_rect().right - 5);
    bar.draw(*g, true);
    EXPECT_EQ(pixel(160, 20), red);
    EXPECT_EQ(pixel(107, 20), red); // the old knob is gone
}

TEST(oscillation_arrow, its_rectangle_follows_the_wave_on_the_left_and_right_edges) {
    cl::ui::image_ptr img(
        new ui_impl::gdi_image(10, 6, std::vector<std::uint16_t>(60), std::vector<std::uint8_t>(60)));
    cl::ui::oscillation_arrow left(0, img), right(1, img), top(2, img);
    for (auto* a : {&left, &right, &top})
        a->set_rect(RECT{100, 50, 300, 90});
    EXPECT_EQ(left.get_rect(), (RECT{100, 55, 110, 61}));
    left.update(1000);
    left.update(1250); // a quarter period: +5
    EXPECT_EQ(left.get_rect(), (RECT{105, 55, 115, 61}));
    right.update(1000);
    right.update(1250);
    EXPECT_EQ(right.get_rect(), (RECT{285, 55, 295, 61}));
    EXPECT_EQ(top.get_rect(), (RECT{100, 50, 300, 90})); // the stored rectangle for the other directions
}

TEST_F(controls, an_empty_text_block_is_one_line_high_and_keeps_its_width) {
    cl::ui::create_graphics(window);
    cl::ui::text_block empty(L"", 0, cl::ui::fonts::tahoma_22, cl::ui::align_left);
    empty.set_rect(RECT{10, 20, 209, 500});
    empty.layout();
    const int line = cl::ui::get_graphics()->measure_text(L"", cl::ui::fonts::tahoma_22, 200).cy;
    EXPECT_EQ(empty.get_rect(), (RECT{10, 20, 209, 20 + line}));
    cl::ui::text_block long_text(L"A headline long enough to wrap over several lines of the block", 0,
                                 cl::ui::fonts::tahoma_22, 0xFFFFFF, cl::ui::align_left, true);
    long_text.set_rect(RECT{10, 20, 209, 500});
    long_text.layout();
    EXPECT_GE(long_text.get_rect().bottom - 20, 3 * line);
    clear(0);
    long_text.draw(*g, false);
    EXPECT_EQ(pixel(12, 20), 0xFFFF); // the background was filled
    cl::ui::destroy_graphics();
}

TEST_F(controls, round_corners_switch_to_the_focused_set_per_edge) {
    cl::ui::image_ptr c[8];
    for (int i = 0; i < 8; ++i)
        c[i] = solid(4, 4, static_cast<std::uint16_t>(i + 1), 255);
    cl::ui::round_control r(c);
    r.set_rect(RECT{20, 30, 120, 80});
    clear(0);
    r.draw(*g, true);
    EXPECT_EQ(pixel(20, 30), 1);  // top-left
    EXPECT_EQ(pixel(119, 30), 2); // top-right, placed by its width
    EXPECT_EQ(pixel(119, 79), 3); // bottom-right
    EXPECT_EQ(pixel(20, 79), 4);  // bottom-left
    r.set_top_focused(true);
    r.draw(*g, true);
    EXPECT_EQ(pixel(20, 30), 5);
    EXPECT_EQ(pixel(20, 79), 4);
    r.set_focused(true);
    r.draw(*g, true);
    EXPECT_EQ(pixel(119, 79), 7);
}

// A control that counts what it drew.
class counting_control : public cl::ui::control_base {
public:
    void update(unsigned long) override {}
    void layout() override {}
    void draw(cl::ui::i_graphics&, bool force) override {
        if (begin_draw(force))
            ++drawn;
    }
    int drawn = 0;
};

TEST_F(controls, showing_or_hiding_a_control_marks_it_and_a_hidden_one_clears_its_mark_unseen) {
    counting_control c;
    c.draw(*g, false); // a new control has news
    EXPECT_EQ(c.drawn, 1);
    c.set_visible(true); // already shown: nothing new
    EXPECT_FALSE(c.is_dirty());
    c.set_visible(false);
    EXPECT_TRUE(c.is_dirty());
    c.draw(*g, true);
    EXPECT_EQ(c.drawn, 1);
    EXPECT_FALSE(c.is_dirty());
    c.set_visible(true);
    c.draw(*g, false);
    EXPECT_EQ(c.drawn, 2);
}

} // namespace
