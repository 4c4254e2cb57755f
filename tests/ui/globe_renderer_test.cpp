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

// Writes both halves of a texture coloured per texel (x from the west edge, y from the south), without
// continents in the mask.
template <class F>
void write_texture(const temp_folder& dir, F colour) {
    for (int half = 0; half < 2; ++half) {
        std::ofstream out(dir.file(half ? "b.raw" : "a.raw"), std::ios::binary);
        for (int y = 0; y < tex_h; ++y)
            for (int x = 0; x < tex_w / 2; ++x) {
                const rgb c = colour(half * tex_w / 2 + x, y);
                const char px[4] = {char(c.r), char(c.g), char(c.b), 0};
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
    rgb at(int x, int y) const {
        const std::uint16_t p = pixel(x, y);
        return rgb{(p >> 11) << 3, ((p >> 5) & 63) << 2, (p & 31) << 3};
    }
    // Colour components of texels inside (or outside) the marked part of a mask region that differ from
    // `original`, or only those that got darker.
    std::size_t changed(const std::vector<std::uint8_t>& original, int region, bool inside,
                        bool darker = false) {
        const std::vector<std::uint8_t>& mask = g->globe_mask();
        const std::vector<std::uint8_t>& now = g->globe_texture();
        std::size_t n = 0;
        for (std::size_t c = 0; c < now.size(); ++c) {
            const std::uint8_t m = mask[c / 3];
            if (((m >> 5) == region && (m & 31) != 0) == inside)
                n += darker ? now[c] < original[c] : now[c] != original[c];
        }
        return n;
    }
};

TEST_F(globe_renderer, the_installed_earth_is_one_strip_over_a_unit_sphere_with_water_and_land) {
    init_installed();
    ASSERT_TRUE(g->opengl_ready());
    const std::vector<std::uint16_t>& idx = g->globe_indices();
    const std::vector<float>& vtx = g->globe_vertices();
    EXPECT_EQ(g->globe_index_count(), 840); // what is drawn
    ASSERT_EQ(idx.size(), 840u);
    ASSERT_EQ(vtx.size(), 21u * 21 * 3);
    // Row i's vertex j is joined to the same vertex of row i + 1, and every vertex is used.
    std::vector<bool> used(21 * 21);
    for (std::size_t n = 0; n < 840; n += 2) {
        EXPECT_EQ(idx[n + 1], idx[n] + 21);
        used[idx[n]] = used[idx[n + 1]] = true;
    }
    EXPECT_EQ(std::count(used.begin(), used.end(), false), 0);
    // Unit sphere, the first row at the north pole (+y) and the last at the other.
    for (std::size_t v = 0; v < vtx.size(); v += 3)
        EXPECT_NEAR(vtx[v] * vtx[v] + vtx[v + 1] * vtx[v + 1] + vtx[v + 2] * vtx[v + 2], 1.0f, 1e-5f);
    EXPECT_NEAR(vtx[1], 1.0f, 1e-6f);
    EXPECT_NEAR(vtx[vtx.size() - 2], -1.0f, 1e-6f);
    // A second set-up replaces the first.
    init_installed();
    EXPECT_TRUE(g->opengl_ready());
    EXPECT_EQ(g->globe_indices().size(), 840u);

    clear(0);
    g->render_globe();
    const rgb atlantic = at(240, 400); // 0, 0: the Gulf of Guinea
    EXPECT_GT(atlantic.b, atlantic.r);
    g->set_globe_state(0, 0, 0, 20); // Central Africa
    g->render_globe();
    const rgb africa = at(240, 400);
    EXPECT_GT(africa.g + africa.r, atlantic.g + atlantic.r);
}

TEST_F(globe_renderer, darkens_only_the_marked_continent_and_gives_its_colours_back) {
    init_installed();
    ASSERT_TRUE(g->opengl_ready());
    const std::vector<std::uint8_t> original = g->globe_texture();
    ASSERT_EQ(original.size(), std::size_t(tex_w) * tex_h * 3);
    g->set_globe_state(5, 5, 12, 34); // the same region on both sides
    EXPECT_EQ(g->globe_texture(), original);

    g->set_globe_state(0, 5, 0, 20); // Africa, which only gets darker
    const std::size_t africa = changed(original, 5, true);
    EXPECT_GT(africa, 1000u);
    EXPECT_EQ(changed(original, 5, true, true), africa);
    EXPECT_EQ(changed(original, 5, false), 0u);
    // Moving on to Europe brings Africa back exactly; back to none, or to unknown numbers, leaves the file's.
    g->set_globe_state(5, 6, 30, 10);
    EXPECT_GT(changed(original, 6, true), 0u);
    EXPECT_EQ(changed(original, 6, false), 0u);
    g->set_globe_state(6, 0, 0, 0);
    EXPECT_EQ(g->globe_texture(), original);
    g->set_globe_state(9, -1, 0, 0);
    EXPECT_EQ(g->globe_texture(), original);
}

TEST_F(globe_renderer, a_second_set_up_keeps_the_renderer_and_gives_the_earth_back_unmarked) {
    temp_folder dir;
    write_texture(dir, [](int x, int y) { return rgb{x % 256, y, 200}; });
    const std::wstring a = platform::from_utf8(dir.file("a.raw")), b = platform::from_utf8(dir.file("b.raw"));
    init(a, b);
    ASSERT_TRUE(g->opengl_ready());
    const std::vector<std::uint8_t> original = g->globe_texture();
    // The files are read once: a visit after they changed still shows the earth first read.
    write_texture(dir, [](int, int) { return rgb{0, 0, 0}; });
    init(a, b);
    EXPECT_TRUE(g->opengl_ready());
    EXPECT_EQ(g->globe_texture(), original);

    // The installed earth with Africa marked and turned: the next visit starts unmarked and unturned.
    init_installed();
    const std::vector<std::uint8_t> installed = g->globe_texture();
    g->set_globe_state(0, 5, 30, 40);
    ASSERT_NE(g->globe_texture(), installed);
    init_installed();
    EXPECT_EQ(g->globe_texture(), installed);
    EXPECT_EQ(g->globe_angle_x(), 0);
    clear(0);
    g->render_globe();
    const rgb atlantic = at(240, 400);
    EXPECT_GT(atlantic.b, atlantic.r); // the Gulf of Guinea faces the user again
}

TEST_F(globe_renderer, a_frame_shows_the_earth_north_up_in_the_middle_over_the_background) {
    temp_folder dir;
    // West half blue, east half green; north of 45 degrees red.
    write_texture(dir, [](int x, int y) {
        return y >= tex_h - 64 ? rgb{255, 0, 0} : x < tex_w / 2 ? rgb{0, 0, 255} : rgb{0, 255, 0};
    });
    init(dir.wpath() + L"/a.raw", dir.wpath() + L"/b.raw");
    ASSERT_TRUE(g->opengl_ready());
    clear(0);
    enum shade { blue, green, red, background, other };
    auto shade_of = [](rgb c) {
        if (c.r < 40 && c.g < 40 && c.b > 200)
            return blue;
        if (c.r < 40 && c.g > 200 && c.b < 40)
            return green;
        if (c.r > 200 && c.g < 40 && c.b < 40)
            return red;
        // The clear colour, light grey with a touch of purple, through 5-6-5.
        const auto grey = [](int v) { return v >= 200 && v <= 216; };
        return grey(c.r) && grey(c.g) && grey(c.b) ? background : other;
    };
    // Longitude 0 faces: the west to the left, the east to the right, the north at the top, the background
    // in the corners. 90 degrees east faces the user: all green; 90 west: all blue; tilted north, the red
    // cap. Landscape puts the globe to the right of the middle.
    struct {
        bool landscape;
        int ax, ay, x, y;
        shade expected;
    } cases[] = {{false, 0, 0, 200, 400, blue},       {false, 0, 0, 280, 400, green},
                 {false, 0, 0, 240, 205, red},        {false, 0, 0, 200, 570, blue},
                 {false, 0, 0, 280, 570, green},      {false, 0, 0, 2, 2, background},
                 {false, 0, 0, 477, 2, background},   {false, 0, 0, 2, 797, background},
                 {false, 0, 0, 477, 797, background}, {false, 0, 90, 240, 400, green},
                 {false, 0, 270, 240, 400, blue},     {false, 70, 270, 240, 400, red},
                 {true, 0, 90, 577, 221, green},      {true, 0, 90, 200, 230, background}};
    for (const auto& c : cases) {
        if (c.landscape) {
            platform::move_window(window.get_hwnd(), 0, 52, 800, 480, false);
            g->update_size();
        }
        g->set_globe_state(0, 0, c.ax, c.ay);
        g->render_globe();
        EXPECT_EQ(shade_of(at(c.x, c.y)), c.expected) << c.ax << "," << c.ay << " at " << c.x << "," << c.y;
    }
}

TEST_F(globe_renderer, the_outline_is_smooth_and_neighbouring_texels_blend) {
    temp_folder dir;
    // West half blue, east half green: no red on the sphere, so a pixel's red tells how much of it the
    // background covers.
    write_texture(dir, [](int x, int) { return x < tex_w / 2 ? rgb{0, 0, 255} : rgb{0, 255, 0}; });
    init(dir.wpath() + L"/a.raw", dir.wpath() + L"/b.raw");
    ASSERT_TRUE(g->opengl_ready());
    clear(0);
    for (const platform::RECT area :
         {platform::RECT{20, 100, 460, 540}, platform::RECT{300, 100, 480, 280}}) {
        g->set_globe_area(area);
        g->set_globe_state(0, 0, 0, 0);
        g->render_globe();
        const int side = area.right - area.left, cx = (area.left + area.right) / 2;
        const int cy = (area.top + area.bottom) / 2;
        // The outline: pixels partly background and partly sphere, all the way round.
        int partly = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                partly += at(x, y).r > 24 && at(x, y).r < 184;
        EXPECT_GT(partly, side) << side;
        // Longitude 0 runs down the middle: blue and green mixed over more than the one pixel a sharp
        // boundary can straddle.
        int mixed = 0;
        for (int x = cx - side / 8; x < cx + side / 8; ++x) {
            const rgb c = at(x, cy);
            mixed += c.r == 0 && c.g > 24 && c.g < 231 && c.b > 24 && c.b < 231;
        }
        EXPECT_GE(mixed, 2) << side;
    }
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
