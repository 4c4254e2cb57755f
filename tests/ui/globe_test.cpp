#include "support/graphics_fixture.h"
#include "ui/globe.h"

#include <boost/shared_ptr.hpp>
#include <tuple>

namespace {

using cl::ui::globe;

// The back-end, keeping the globe states it is given.
struct recording_graphics : ui_impl::gdi_graphics {
    using gdi_graphics::gdi_graphics;
    void set_globe_state(int restore, int mark, int ax, int ay) override {
        states.emplace_back(restore, mark, ax, ay);
        gdi_graphics::set_globe_state(restore, mark, ax, ay);
    }
    void render_globe() override { ++frames; }
    std::vector<std::tuple<int, int, int, int>> states;
    int frames = 0;
};

class globe_rotation : public graphics_fixture {
protected:
    void SetUp() override {
        graphics_fixture::SetUp();
        rec.reset(new recording_graphics(window));
        earth.reset(new globe(rec));
    }
    void TearDown() override {
        earth.reset();
        rec.reset();
        graphics_fixture::TearDown();
    }
    // Ticks until the angles stop, every spin on the way staying on the short arc through 0 from above `low`.
    double run(double low) {
        for (int i = 0; i < 400; ++i) {
            earth->update(now += 25);
            EXPECT_TRUE(earth->spin() >= low || earth->spin() <= 10) << earth->spin();
        }
        return earth->spin();
    }
    std::wstring region() const { return earth->region_name() + L"/" + earth->region_code(); }

    boost::shared_ptr<recording_graphics> rec;
    boost::shared_ptr<globe> earth;
    unsigned long now = 1000;
};

TEST(globe_regions, the_continent_facing_the_user_follows_tilt_and_spin) {
    struct {
        int tilt, spin, region;
    } cases[] = {{0, 20, globe::africa},
                 {-29, 355, globe::africa},
                 {5, 100, globe::asia},
                 {-10, 130, globe::oceania},
                 {15, 240, globe::north_america},
                 {0, 300, globe::south_america},
                 {30, 10, globe::europe},
                 {20, 20, globe::europe},
                 {10, 320, globe::none},
                 {-30, 20, globe::none},
                 {0, 45, globe::none},
                 {10, 275, globe::north_america}};
    for (const auto& c : cases)
        EXPECT_EQ(globe::region_at(c.tilt, c.spin), c.region) << c.tilt << " " << c.spin;
}

TEST_F(globe_rotation, names_and_codes_of_the_regions_and_their_hand_over_to_the_renderer) {
    earth->set_angles(10, 320);
    EXPECT_EQ(region(), L"None/");
    earth->set_angles(0, 20);
    EXPECT_EQ(region(), L"Africa/10");
    earth->set_angles(5, 100);
    EXPECT_EQ(region(), L"Asia/9");
    // Each state restores the region marked before and marks the new one.
    EXPECT_EQ(rec->states,
              (std::vector<std::tuple<int, int, int, int>>{
                  {0, 0, 10, 320}, {0, globe::africa, 0, 20}, {globe::africa, globe::asia, 5, 100}}));
    earth->draw(*rec, true);
    EXPECT_EQ(rec->frames, 1);
    EXPECT_FALSE(earth->is_changed());
}

TEST(globe_facing, the_nearest_angles_with_a_continent_facing_the_user) {
    const struct {
        int tilt, spin, to_tilt, to_spin;
    } cases[] = {{10, 320, 9, 319}, {0, 20, 0, 20}, {0, 45, 0, 39}, {-70, 200, -70, 169}, {10, 359, 10, 359}};
    for (const auto& c : cases) {
        int t = c.tilt, s = c.spin;
        globe::nearest_facing(t, s);
        EXPECT_EQ(t, c.to_tilt) << c.tilt << " " << c.spin;
        EXPECT_EQ(s, c.to_spin) << c.tilt << " " << c.spin;
        EXPECT_NE(globe::region_at(t, s), globe::none);
    }
}

TEST_F(globe_rotation, tilt_stops_at_seventy_degrees_and_spin_takes_the_short_way_through_zero) {
    earth->set_angles(60, 350);
    earth->tilt_up(30);
    EXPECT_EQ(earth->tilt_target(), 70);
    earth->tilt_down(200);
    EXPECT_EQ(earth->tilt_target(), -70);
    earth->tilt_up(70);
    // Until the user acts again the renderer keeps the shown angles.
    earth->spin_right(20);
    EXPECT_EQ(earth->spin_target(), 10);
    EXPECT_EQ(rec->globe_angle_y(), 350);
    EXPECT_DOUBLE_EQ(run(350), 10);
    EXPECT_EQ(rec->globe_angle_y(), 10);
    EXPECT_EQ(rec->globe_angle_x(), 0);
    EXPECT_TRUE(earth->is_changed());
    earth->spin_left(30);
    EXPECT_EQ(earth->spin_target(), 340);
    EXPECT_DOUBLE_EQ(run(340), 340);
}

} // namespace
