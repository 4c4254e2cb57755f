#include "platform/gl_context.h"
#include "platform/text.h"
#include "platform/window_system.h"
#include "support/graphics_fixture.h"
#include "support/temp_folder.h"
#include "utils/errors.h"

#include <fstream>

namespace {

constexpr int tex_w = 512, tex_h = 256;

struct rgb {
    int r, g, b;
};

rgb colour_at(std::uint16_t p) {
    return rgb{(p >> 11) << 3, ((p >> 5) & 63) << 2, (p & 31) << 3};
}

// Writes the two halves of a texture whose colour is given per texel (x from the west edge, y from the
// south edge), with no continents in the mask.
template <class F>
void write_texture(const temp_folder& dir, F colour) {
    for (int half = 0; half < 2; ++half) {
        std::ofstream out(dir.file(half ? "b.raw" : "a.raw"), std::ios::binary);
        for (int y = 0; y < tex_h; ++y)
            for (int x = 0; x < tex_w / 2; ++x) {
                const rgb c = colour(half * tex_w / 2 + x, y);
                const char px[4] = {static_cast<char>(c.r), static_cast<char>(c.g), static_cast<char>(c.b),
                                    0};
                out.write(px, 4);
            }
    }
}

class globe_renderer : public graphics_fixture {
protected:
    void init(const std::wstring& a, const std::wstring& b) {
        g->init_opengl(tex_w, tex_h, a, b, 20, 20, 0.2f, 0.5f);
    }
    void init_installed() {
        const std::wstring dir = platform::from_utf8(ZOR_PANEL_DIR);
        init(dir + L"/rgbaEarthA.raw", dir + L"/rgbaEarthB.raw");
    }
    void init_in(const temp_folder& dir) { init(dir.wpath() + L"/a.raw", dir.wpath() + L"/b.raw"); }
    rgb at(int x, int y) const { return colour_at(pixel(x, y)); }
    void landscape() {
        platform::move_window(window.get_hwnd(), 0, 52, 800, 480, false);
        g->update_size();
    }
};

TEST_F(globe_renderer, builds_the_sphere_as_one_strip_over_the_whole_mesh) {
    init_installed();
    ASSERT_TRUE(g->opengl_ready());
    EXPECT_EQ(g->globe_vertex_count(), 21 * 21);
    EXPECT_EQ(g->globe_index_count(), 840);
    ASSERT_EQ(g->globe_indices().size(), 840u);
    ASSERT_EQ(g->globe_vertices().size(), 21u * 21 * 3);
    // Row i's vertex j is joined to the same vertex of row i + 1, and every vertex is used.
    std::vector<bool> used(21 * 21);
    for (std::size_t n = 0; n < 840; n += 2) {
        EXPECT_EQ(g->globe_indices()[n + 1], g->globe_indices()[n] + 21);
        used[g->globe_indices()[n]] = used[g->globe_indices()[n + 1]] = true;
    }
    EXPECT_EQ(std::count(used.begin(), used.end(), false), 0);
    // Unit sphere, the first row at the north pole (+y) and the last at the other.
    for (std::size_t v = 0; v < 21 * 21; ++v) {
        const float* p = &g->globe_vertices()[v * 3];
        EXPECT_NEAR(p[0] * p[0] + p[1] * p[1] + p[2] * p[2], 1.0f, 1e-5f);
    }
    EXPECT_NEAR(g->globe_vertices()[1], 1.0f, 1e-6f);
    EXPECT_NEAR(g->globe_vertices()[(21 * 21 - 1) * 3 + 1], -1.0f, 1e-6f);

    // A second set-up replaces the first.
    init_installed();
    EXPECT_TRUE(g->opengl_ready());
    EXPECT_EQ(g->globe_indices().size(), 840u);
}

TEST_F(globe_renderer, darkens_only_the_marked_continent_and_gives_its_colours_back) {
    init_installed();
    ASSERT_TRUE(g->opengl_ready());
    const std::vector<std::uint8_t> original = g->globe_texture();
    const std::vector<std::uint8_t>& mask = g->globe_mask();
    ASSERT_EQ(original.size(), std::size_t(tex_w) * tex_h * 3);

    // The same region on both sides only moves the angles.
    g->set_globe_state(5, 5, 12, 34);
    EXPECT_EQ(g->globe_angle_x(), 12);
    EXPECT_EQ(g->globe_angle_y(), 34);
    EXPECT_EQ(g->globe_texture(), original);

    g->set_globe_state(0, 5, 0, 20); // Africa
    int darker = 0, brighter = 0, changed_elsewhere = 0;
    for (std::size_t t = 0; t < mask.size(); ++t) {
        const bool africa = (mask[t] >> 5) == 5 && (mask[t] & 31) != 0;
        for (std::size_t c = t * 3; c < t * 3 + 3; ++c) {
            const int before = original[c], after = g->globe_texture()[c];
            if (!africa)
                changed_elsewhere += before != after;
            else if (after < before)
                ++darker;
            else if (after > before)
                ++brighter;
        }
    }
    EXPECT_GT(darker, 1000);
    EXPECT_EQ(brighter, 0);
    EXPECT_EQ(changed_elsewhere, 0);

    // Moving on to Europe brings Africa back exactly; back to none leaves the file's colours.
    g->set_globe_state(5, 6, 30, 10);
    std::size_t europe_changed = 0, africa_changed = 0;
    for (std::size_t t = 0; t < mask.size(); ++t)
        for (std::size_t c = t * 3; c < t * 3 + 3; ++c) {
            europe_changed += (mask[t] >> 5) == 6 && original[c] != g->globe_texture()[c];
            africa_changed += (mask[t] >> 5) == 5 && original[c] != g->globe_texture()[c];
        }
    EXPECT_GT(europe_changed, 0u);
    EXPECT_EQ(africa_changed, 0u);
    g->set_globe_state(6, 0, 0, 0);
    EXPECT_EQ(g->globe_texture(), original);
    // Unknown region numbers are left alone.
    g->set_globe_state(9, -1, 0, 0);
    EXPECT_EQ(g->globe_texture(), original);
}

TEST_F(globe_renderer, a_frame_shows_the_earth_north_up_in_the_middle_over_the_background) {
    temp_folder dir;
    // West half blue, east half green; north of 45 degrees red.
    write_texture(dir, [](int x, int y) {
        if (y >= tex_h - 64)
            return rgb{255, 0, 0};
        return x < tex_w / 2 ? rgb{0, 0, 255} : rgb{0, 255, 0};
    });
    init_in(dir);
    ASSERT_TRUE(g->opengl_ready());
    clear(0);

    auto is_blue = [](rgb c) { return c.b > 200 && c.r < 40 && c.g < 40; };
    auto is_green = [](rgb c) { return c.g > 200 && c.r < 40 && c.b < 40; };
    auto is_red = [](rgb c) { return c.r > 200 && c.g < 40 && c.b < 40; };
    // The clear colour, light grey with a touch of purple, through 5-6-5.
    auto is_background = [](rgb c) {
        return c.r >= 200 && c.r <= 216 && c.g >= 200 && c.g <= 216 && c.b >= 200 && c.b <= 216;
    };

    // Longitude 0 facing: the west to the left, the east to the right, the north at the top.
    g->set_globe_state(0, 0, 0, 0);
    g->render_globe();
    EXPECT_TRUE(is_blue(at(200, 400)));
    EXPECT_TRUE(is_green(at(280, 400)));
    EXPECT_TRUE(is_red(at(240, 205)));
    EXPECT_FALSE(is_red(at(240, 570)));
    for (auto corner : {std::pair<int, int>{2, 2}, {477, 2}, {2, 797}, {477, 797}})
        EXPECT_TRUE(is_background(at(corner.first, corner.second))) << corner.first << "," << corner.second;

    // 90 degrees east faces the user: all green in the middle; 90 west: all blue.
    g->set_globe_state(0, 0, 0, 90);
    g->render_globe();
    EXPECT_TRUE(is_green(at(240, 400)));
    g->set_globe_state(0, 0, 0, 270);
    g->render_globe();
    EXPECT_TRUE(is_blue(at(240, 400)));
    // Tilted towards the north, the red cap reaches the middle.
    g->set_globe_state(0, 0, 70, 270);
    g->render_globe();
    EXPECT_TRUE(is_red(at(240, 400)));

    // Landscape puts the globe to the right of the middle.
    landscape();
    g->set_globe_state(0, 0, 0, 90);
    g->render_globe();
    EXPECT_TRUE(is_green(at(577, 221)));
    EXPECT_TRUE(is_background(at(200, 230)));
}

TEST_F(globe_renderer, the_installed_earth_is_water_and_land_in_the_middle) {
    init_installed();
    clear(0);
    g->render_globe();
    const rgb atlantic = at(240, 400); // 0, 0: the Gulf of Guinea
    EXPECT_GT(atlantic.b, atlantic.r);
    g->set_globe_state(0, 0, 0, 20); // Central Africa
    g->render_globe();
    const rgb africa = at(240, 400);
    EXPECT_GT(africa.g + africa.r, atlantic.g + atlantic.r);
}

TEST_F(globe_renderer, without_gl_the_set_up_fails_with_its_error_and_nothing_is_drawn) {
    platform::set_gl_refused(true);
    try {
        init_installed();
        ADD_FAILURE() << "no error";
    } catch (const utils::opengl_error& e) {
        EXPECT_STREQ(e.what(), "Cannot initialize opengl");
        EXPECT_NE(e.code(), 0);
    }
    platform::set_gl_refused(false);
    EXPECT_FALSE(g->opengl_ready());
    clear(0x1234);
    g->render_globe();
    g->set_globe_state(0, 5, 10, 20);
    EXPECT_EQ(changed_outside(platform::RECT{0, 0, 0, 0}, 0x1234), 0);
    EXPECT_EQ(g->globe_angle_y(), 20);

    // Bad sizes are refused before any GL work.
    EXPECT_ANY_THROW(g->init_opengl(511, 256, L"", L"", 20, 20, 0.2f, 0.5f));
    EXPECT_ANY_THROW(g->init_opengl(512, 256, L"", L"", 300, 300, 0.2f, 0.5f));
    EXPECT_FALSE(g->opengl_ready());
}

} // namespace
