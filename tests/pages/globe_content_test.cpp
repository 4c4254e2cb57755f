#include "app/content_factory.h"
#include "pages/world/globe_content.h"
#include "platform/gl_context.h"
#include "platform/text.h"
#include "platform/window_system.h"
#include "support/page_fixture.h"
#include "ui/graphics.h"

namespace {

using platform::POINT;
using zor::content_state;
using zor::globe_content;

class globe_page : public page_fixture {
protected:
    void open(int tilt, int spin, bool landscape = false) {
        content = globe_content::make(landscape, tilt, spin, platform::from_utf8(ZOR_PANEL_DIR));
        content->set_rect(landscape ? platform::RECT{0, 42, 800, 428} : platform::RECT{0, 150, 480, 720});
        content->layout();
        content->request.connect(
            utils::function1<void, content_state>([this](content_state s) { requests.push_back(s); }));
    }
    void tap(int x, int y) {
        content->on_pen_down(POINT{x, y});
        content->on_pen_up(POINT{x, y});
    }
    ui_impl::gdi_graphics& graphics() { return static_cast<ui_impl::gdi_graphics&>(*cl::ui::get_graphics()); }
    std::uint16_t shown(int x, int y) { return graphics().back_buffer()[y * 800 + x]; }

    std::unique_ptr<globe_content> content;
    std::vector<content_state> requests;
};

TEST_F(globe_page, opens_at_the_given_angles_and_keeps_them_in_its_history_record) {
    open(0, 20);
    EXPECT_EQ(content->earth().region_name(), L"Africa");
    EXPECT_EQ(graphics().globe_angle_y(), 20);
    EXPECT_EQ(content->get_state(), content_state(L"globe", L"10", L"Africa", L"", {0, 20}));
    // A tap in the middle opens Africa's map; so does Enter.
    tap(240, 450);
    content->on_key_down(13);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].page, L"globe");
    EXPECT_EQ(requests[0].params[0], L"10");
    EXPECT_EQ(requests[0].params[1], L"Africa");
    EXPECT_EQ(requests[1], requests[0]);

    // Facing no continent a tap does nothing.
    open(10, 320);
    tap(240, 450);
    content->on_key_down(13);
    EXPECT_EQ(requests.size(), 2u);
}

TEST_F(globe_page, draws_the_globe_under_its_shade_and_arrows) {
    open(0, 20);
    std::fill_n(graphics().back_buffer(), 800 * 800, 0);
    content->draw(graphics(), true);
    EXPECT_FALSE(content->is_dirty());
    const std::uint16_t middle = shown(240, 400);
    EXPECT_NE(middle, 0);
    const std::uint16_t r = middle >> 11, g = (middle >> 5) & 63, b = middle & 31;
    EXPECT_FALSE(r > 24 && g > 48 && b > 24) << "the background shows in the middle";
    const platform::RECT up = content->arrow_rect(0);
    EXPECT_GT(up.right - up.left, 0);
    int arrow_pixels = 0;
    for (int y = up.top; y < up.bottom; ++y)
        for (int x = up.left; x < up.right; ++x)
            arrow_pixels += shown(x, y) != 0;
    EXPECT_GT(arrow_pixels, 0);
}

TEST_F(globe_page, drags_arrows_and_keys_turn_the_globe_and_a_drag_is_no_tap) {
    open(0, 20);
    cl::ui::globe& earth = content->earth();
    // Dragging to the left turns the east into view, 0.3 degrees a pixel, small moves adding up.
    content->on_pen_down(POINT{240, 450});
    for (int x = 238; x >= 140; x -= 2)
        content->on_pen_move(POINT{x, 450});
    content->on_pen_move(POINT{140, 420});
    content->on_pen_up(POINT{140, 420});
    EXPECT_EQ(earth.spin_target(), 50);
    EXPECT_EQ(earth.tilt_target(), -9);
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(content->drag(), globe_content::idle);

    // Taps near the arrows, then the arrow keys.
    const platform::RECT up = content->arrow_rect(0), left = content->arrow_rect(2);
    tap(up.left + 5, up.bottom);
    EXPECT_EQ(earth.tilt_target(), 1);
    tap(left.right, 450);
    EXPECT_EQ(earth.spin_target(), 40);
    content->on_key_down(39);
    content->on_key_down(39);
    EXPECT_EQ(earth.spin_target(), 60);
    content->on_key_down(40);
    EXPECT_EQ(earth.tilt_target(), -9);
    content->on_key_down(37);
    content->on_key_down(38);
    EXPECT_EQ(earth.spin_target(), 50);
    EXPECT_EQ(earth.tilt_target(), 1);

    // Once the globe has turned there, the record and the request carry the new angles and Asia.
    content->on_key_down(39);
    content->on_key_down(39);
    content->on_key_down(39);
    content->on_key_down(39);
    content->on_key_down(39); // spin target 100
    unsigned long now = 1000;
    for (int i = 0; i < 200; ++i)
        content->update(now += 25);
    EXPECT_TRUE(content->is_dirty());
    EXPECT_EQ(content->earth().region_name(), L"Asia");
    content->on_key_down(13);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], content_state(L"globe", L"9", L"Asia", L"", {1, 100}));
}

TEST_F(globe_page, without_gl_the_content_shows_its_error_view_and_ignores_input) {
    platform::set_gl_refused(true);
    open(0, 20);
    platform::set_gl_refused(false);
    EXPECT_FALSE(graphics().opengl_ready());
    EXPECT_TRUE(content->has_error());
    std::fill_n(graphics().back_buffer(), 800 * 800, 0);
    content->draw(graphics(), true);
    EXPECT_EQ(shown(240, 600), ui_impl::to_rgb565(0xC0C0C0));
    tap(240, 450);
    content->on_key_down(13);
    content->on_key_down(39);
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(content->earth().spin_target(), 20);
}

TEST_F(globe_page, in_landscape_the_globe_sits_right_of_the_middle) {
    platform::move_window(window.get_hwnd(), 0, 52, 800, 480, false);
    graphics().update_size();
    use_portrait(false);
    open(0, 20, true);
    EXPECT_EQ(content->arrow_rect(0).left, 550);
    EXPECT_EQ(content->arrow_rect(0).top, 60);
    std::fill_n(graphics().back_buffer(), 800 * 800, 0);
    content->draw(graphics(), true);
    const std::uint16_t left = shown(150, 230);
    EXPECT_TRUE((left >> 11) > 24 && ((left >> 5) & 63) > 48) << "background expected left of the globe";
}

} // namespace
