#include "app/content_factory.h"
#include "pages/maps/label_layout.h"
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
    void keys(std::initializer_list<int> codes) {
        for (int code : codes)
            content->on_key_down(code);
    }
    void draw_on_black() {
        std::fill_n(graphics().back_buffer(), 800 * 800, 0);
        content->draw(graphics(), true);
    }
    ui_impl::gdi_graphics& graphics() { return static_cast<ui_impl::gdi_graphics&>(*cl::ui::get_graphics()); }
    std::uint16_t shown(int x, int y) { return graphics().back_buffer()[y * 800 + x]; }
    // The light grey-purple background behind the globe.
    bool background(int x, int y) {
        const std::uint16_t p = shown(x, y);
        return (p >> 11) > 24 && ((p >> 5) & 63) > 48 && (p & 31) > 24;
    }

    std::unique_ptr<globe_content> content;
    std::vector<content_state> requests;
};

// The globe opens at the given angles and keeps them in its history record; a tap in the middle or Enter
// opens the continent facing the user. The weather page opens the world view at the angles nearest the usual
// view over the Atlantic (tilt 10, spin 320, where no continent faces the user): South America faces the
// user. A globe brought back facing no continent keeps its angles, and a tap does nothing.
TEST_F(globe_page, a_globe_opens_at_its_angles_facing_a_continent_that_a_tap_or_enter_opens) {
    open(0, 20);
    const content_state africa(L"globe", L"10", L"Africa", L"", {0, 20});
    EXPECT_EQ(graphics().globe_angle_y(), 20);
    EXPECT_EQ(content->get_state(), africa);
    keys({13});
    int tilt = 10, spin = 320;
    cl::ui::globe::nearest_facing(tilt, spin);
    open(tilt, spin);
    const content_state south_america(L"globe", L"3", L"South America", L"", {9, 319});
    EXPECT_EQ(content->get_state(), south_america);
    EXPECT_EQ(graphics().globe_angle_y(), 319);
    tap(240, 450);
    EXPECT_EQ(requests, (std::vector<content_state>{africa, south_america}));
    requests.clear();
    open(19, 319);
    EXPECT_EQ(content->get_state(), content_state(L"globe", L"", L"None", L"", {19, 319}));
    tap(240, 450);
    keys({13});
    EXPECT_TRUE(requests.empty());
}

// The content rectangles the page gives the world view, between its bars: the globe under its shade and the
// arrows drawn inside them.
TEST_F(globe_page, the_globe_and_its_arrows_fit_the_content_in_both_orientations) {
    const struct {
        bool landscape;
        platform::RECT area;
    } rows[] = {{false, {0, 150, 480, 720}},
                {true, {0, 106, 800, 355}}, // between the tabs and the footer of the world view in landscape
                {true, {0, 106, 800, 380}},
                {true, {0, 42, 800, 428}}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.area.top);
        if (r.landscape) {
            platform::move_window(window.get_hwnd(), 0, 52, 800, 480, false);
            graphics().update_size();
            use_portrait(false);
        }
        open(0, 20, r.landscape);
        content->set_rect(r.area);
        content->layout();
        const platform::RECT globe = content->globe_rect();
        EXPECT_GT(globe.bottom - globe.top, (r.area.bottom - r.area.top) / 2);
        auto inside = [&](const platform::RECT& b) {
            return b.left >= r.area.left && b.top >= r.area.top && b.right <= r.area.right &&
                   b.bottom <= r.area.bottom && b.right > b.left && b.bottom > b.top;
        };
        EXPECT_TRUE(inside(globe));
        for (int a = 0; a < 4; ++a) {
            EXPECT_TRUE(inside(content->arrow_rect(a))) << a;
            EXPECT_FALSE(zor::overlap(content->arrow_rect(a), globe)) << a;
        }
        draw_on_black();
        EXPECT_FALSE(content->is_dirty());
        const int cx = (globe.left + globe.right) / 2, cy = (globe.top + globe.bottom) / 2;
        EXPECT_NE(shown(cx, cy), 0);
        EXPECT_FALSE(background(cx, cy)); // the earth in the middle of its square
        const platform::RECT up = content->arrow_rect(0);
        int arrow_pixels = 0;
        for (int y = up.top; y < up.bottom; ++y)
            for (int x = up.left; x < up.right; ++x)
                arrow_pixels += shown(x, y) != 0;
        EXPECT_GT(arrow_pixels, 0);
        EXPECT_TRUE(background(globe.left + 2, globe.top + 2));
        // Nothing is drawn above or below the content, where the bars are.
        for (int x = 0; x < 800; x += 50) {
            EXPECT_EQ(shown(x, r.area.top - 1), 0) << x;
            EXPECT_EQ(shown(x, r.area.bottom), 0) << x;
        }
    }
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
    keys({39, 39});
    EXPECT_EQ(earth.spin_target(), 60);
    keys({40});
    EXPECT_EQ(earth.tilt_target(), -9);
    keys({37, 38});
    EXPECT_EQ(earth.spin_target(), 50);
    EXPECT_EQ(earth.tilt_target(), 1);

    // Once the globe has turned to 100, the record and the request carry the new angles and Asia.
    keys({39, 39, 39, 39, 39});
    unsigned long now = 1000;
    for (int i = 0; i < 200; ++i)
        content->update(now += 25);
    EXPECT_TRUE(content->is_dirty());
    keys({13});
    const content_state asia(L"globe", L"9", L"Asia", L"", {1, 100});
    EXPECT_EQ(content->get_state(), asia);
    EXPECT_EQ(requests, std::vector<content_state>{asia});
}

TEST_F(globe_page, without_gl_the_content_shows_its_error_view_and_ignores_input) {
    platform::set_gl_refused(true);
    open(0, 20);
    platform::set_gl_refused(false);
    EXPECT_FALSE(graphics().opengl_ready());
    EXPECT_TRUE(content->has_error());
    draw_on_black();
    EXPECT_EQ(shown(240, 600), ui_impl::to_rgb565(0xC0C0C0));
    tap(240, 450);
    keys({13, 39});
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(content->earth().spin_target(), 20);
}

} // namespace
