#include "platform/text.h"
#include "platform/window_system.h"
#include "support/error_text.h"
#include "support/graphics_fixture.h"
#include "ui/alpha_blend.h"
#include "ui/graphics.h"
#include "ui/offset_graphics.h"
#include "utils/errors.h"

namespace {

using platform::RECT;
using platform::RGB;
using ui_impl::blend_pixel;

constexpr std::uint16_t grey = 0x8410; // r 16, g 32, b 16
constexpr std::uint16_t white = 0xFFFF;
constexpr std::uint16_t black = 0x0000;

class gdi_graphics : public graphics_fixture {};

// An opaque w x h picture whose pixel i is first + i.
cl::ui::image_ptr numbered(int w, int h, int first) {
    std::vector<std::uint16_t> px(w * h);
    for (int i = 0; i < w * h; ++i)
        px[i] = static_cast<std::uint16_t>(first + i);
    return cl::ui::image_ptr(new ui_impl::gdi_image(w, h, px, std::vector<std::uint8_t>(w * h, 255)));
}

TEST(blend_rule, matches_the_channel_formula) {
    // d + (((s - d) * (a + 1) + 128) >> 8), per channel, for falling and rising values.
    auto reference = [](std::uint16_t d, std::uint16_t s, int a) {
        auto ch = [&](int shift, int mask) {
            int dv = (d >> shift) & mask, sv = (s >> shift) & mask;
            return (dv + (((sv - dv) * (a + 1) + 128) >> 8)) & mask;
        };
        return static_cast<std::uint16_t>((ch(11, 0x1F) << 11) | (ch(5, 0x3F) << 5) | ch(0, 0x1F));
    };
    for (int a : {0, 1, 7, 64, 127, 128, 200, 254, 255})
        for (std::uint16_t d : {std::uint16_t(0), std::uint16_t(0xFFFF), grey, std::uint16_t(0x1234)})
            for (std::uint16_t s : {std::uint16_t(0), std::uint16_t(0xFFFF), grey, std::uint16_t(0xABCD)})
                EXPECT_EQ(blend_pixel(d, s, a), reference(d, s, a)) << a << " " << d << " " << s;
    EXPECT_EQ(blend_pixel(black, white, 128), 0x8410); // half-way, rounded: the formula's anchor
}

TEST_F(gdi_graphics, every_pixel_of_a_wide_picture_follows_the_rule) {
    // Long rows go through the eight-at-a-time path; odd lengths and offsets through the rest. Plane values
    // 0 and 255 must skip and copy; a global alpha of 0 must leave everything as it was.
    const int w = 37, h = 5;
    std::vector<std::uint16_t> px(w * h);
    std::vector<std::uint8_t> alpha(w * h);
    std::uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xFFFF; };
    for (int i = 0; i < w * h; ++i) {
        px[i] = static_cast<std::uint16_t>(next());
        alpha[i] = static_cast<std::uint8_t>(i % 7 == 0 ? 0 : i % 5 == 0 ? 255 : next() & 0xFF);
    }
    cl::ui::image_ptr img(new ui_impl::gdi_image(w, h, px, alpha));
    for (int global : {255, 200, 128, 77, 1, 0}) {
        std::vector<std::uint16_t> before(800 * 20);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 800; ++x) {
                before[y * 800 + x] = static_cast<std::uint16_t>(next());
                set_pixel(x, y, before[y * 800 + x]);
            }
        g->draw_image_alpha(img, 3, 2, static_cast<unsigned char>(global));
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 800; ++x) {
                bool inside = x >= 3 && x < 3 + w && y >= 2 && y < 2 + h;
                std::uint16_t expected = before[y * 800 + x];
                if (inside) {
                    int k = (y - 2) * w + (x - 3);
                    unsigned a = global == 255 ? alpha[k] : (alpha[k] * (global + 1u)) >> 8;
                    expected = blend_pixel(expected, px[k], a);
                }
                ASSERT_EQ(pixel(x, y), expected) << x << "," << y << " alpha " << global;
            }
    }
}

TEST_F(gdi_graphics, draw_image_copies_even_widths_and_blends_odd_ones) {
    clear(grey);
    g->draw_image(solid(4, 2, white, 0), 0, 0); // even: the alpha plane is ignored
    EXPECT_EQ(pixel(0, 0), white);
    EXPECT_EQ(pixel(3, 1), white);
    g->draw_image(solid(3, 2, white, 0), 0, 10); // odd: transparency honoured
    EXPECT_EQ(pixel(0, 10), grey);
    g->draw_image(solid(3, 2, white, 255), 0, 20);
    EXPECT_EQ(pixel(2, 21), white);
    EXPECT_EQ(pixel(3, 21), grey);
}

TEST_F(gdi_graphics, images_are_clipped_at_every_edge_of_the_buffer) {
    for (auto place :
         {std::pair<int, int>{-5, 100}, {795, 100}, {100, -5}, {100, 795}, {-5, -5}, {797, 797}}) {
        for (bool odd : {false, true}) {
            clear(black);
            int w = odd ? 11 : 10;
            g->draw_image(solid(w, 10, white, 255), place.first, place.second);
            g->draw_image_alpha(solid(w, 10, white, 255), place.first, place.second, 255);
            RECT inside{std::max(place.first, 0), std::max(place.second, 0), std::min(place.first + w, 800),
                        std::min(place.second + 10, 800)};
            EXPECT_EQ(changed_outside(inside, black), 0) << place.first << "," << place.second;
            EXPECT_EQ(pixel(inside.left, inside.top), white);
            EXPECT_EQ(pixel(inside.right - 1, inside.bottom - 1), white);
        }
    }
    clear(black);
    g->draw_image(solid(10, 10, white, 255), 900, 900);
    g->draw_image_alpha(solid(10, 10, white, 255), -100, -100, 255);
    EXPECT_EQ(changed_outside(RECT{0, 0, 0, 0}, black), 0);
}

TEST_F(gdi_graphics, centred_pictures_parts_and_tiles_take_their_source_pixels_and_stay_in_their_box) {
    // A 10 x 10 picture centred in a 4 x 6 box at (50, 60): dx = 3, dy = 2.
    clear(black);
    g->draw_image_centered(numbered(10, 10, 1), 50, 60, 4, 6);
    EXPECT_EQ(changed_outside(RECT{50, 60, 54, 66}, black), 0);
    EXPECT_EQ(pixel(50, 60), 1 + 2 * 10 + 3);
    EXPECT_EQ(pixel(53, 65), 1 + 7 * 10 + 6);

    // The source's size counts both edges: (2, 3)-(4, 4) is 3 x 2 pixels.
    clear(black);
    g->draw_image_part(numbered(8, 8, 100), 200, 300, RECT{2, 3, 4, 4}, 255);
    EXPECT_EQ(changed_outside(RECT{200, 300, 203, 302}, black), 0);
    EXPECT_EQ(pixel(200, 300), 100 + 3 * 8 + 2);
    EXPECT_EQ(pixel(202, 301), 100 + 4 * 8 + 4);

    // Tiles repeat from the top-left in both directions.
    clear(black);
    auto tile = numbered(3, 2, 1);
    g->draw_image_tiled(tile, RECT{10, 20, 17, 25}, 255);
    EXPECT_EQ(changed_outside(RECT{10, 20, 17, 25}, black), 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(pixel(10 + x, 20 + y), 1 + (y % 2) * 3 + x % 3) << x << "," << y;
    // A rectangle starting off the buffer keeps the pattern's phase.
    clear(black);
    g->draw_image_tiled(tile, RECT{-4, -3, 5, 5}, 255);
    EXPECT_EQ(pixel(0, 0), 1 + (3 % 2) * 3 + 4 % 3);
}

TEST_F(gdi_graphics, fill_excludes_the_far_edges_and_frame_includes_them) {
    clear(black);
    g->fill_rect(RECT{10, 10, 20, 15}, RGB(255, 0, 0));
    EXPECT_EQ(pixel(10, 10), 0xF800);
    EXPECT_EQ(pixel(19, 14), 0xF800);
    EXPECT_EQ(changed_outside(RECT{10, 10, 20, 15}, black), 0);

    clear(black);
    g->draw_frame(RECT{30, 30, 35, 33}, RGB(0, 0, 255));
    EXPECT_EQ(changed_outside(RECT{30, 30, 36, 34}, black), 0);
    // The 16 pixels of the border, every one, and none inside it.
    EXPECT_EQ(changed_outside(RECT{31, 31, 35, 33}, black), 16);
    EXPECT_EQ(changed_outside(RECT{0, 0, 0, 0}, black), 16);
    EXPECT_EQ(pixel(30, 30), 0x001F);
    EXPECT_EQ(pixel(35, 33), 0x001F);

    clear(black);
    g->fill_rect(RECT{-50, 790, 2000, 2000}, RGB(255, 255, 255));
    g->draw_frame(RECT{-10, -10, 900, 900}, RGB(255, 255, 255));
    EXPECT_EQ(pixel(0, 799), white);
    EXPECT_EQ(pixel(400, 400), black);
}

TEST_F(gdi_graphics, a_clipped_offset_graphics_keeps_every_kind_of_drawing_inside_its_clip) {
    const RECT clip{100, 100, 140, 130};
    cl::ui::offset_graphics view(g.get(), 5, 7);
    view.set_clip(clip);

    // Centred in a 60 x 60 box that starts at (85, 87) on screen: only the part inside the clip shows.
    clear(black);
    view.draw_image_centered(numbered(60, 60, 1), 80, 80, 60, 60);
    EXPECT_EQ(changed_outside(clip, black), 0);
    EXPECT_EQ(pixel(100, 100), 1 + (100 - 87) * 60 + (100 - 85));
    EXPECT_EQ(pixel(139, 129), 1 + (129 - 87) * 60 + (139 - 85));
    // A picture larger than its box is still cut to the box where the box is inside the clip.
    clear(black);
    view.draw_image_centered(numbered(40, 40, 1), 105, 100, 10, 10); // box (110, 107)-(120, 117)
    EXPECT_EQ(changed_outside(RECT{110, 107, 120, 117}, black), 0);
    EXPECT_EQ(pixel(110, 107), 1 + 15 * 40 + 15);

    clear(black);
    view.draw_image_part(numbered(50, 50, 1), 90, 90, RECT{0, 0, 49, 49}, 255); // from (95, 97)
    EXPECT_EQ(changed_outside(clip, black), 0);
    EXPECT_EQ(pixel(100, 100), 1 + (100 - 97) * 50 + (100 - 95));
    EXPECT_EQ(pixel(139, 129), 1 + (129 - 97) * 50 + (139 - 95));

    // A frame from (95, 97) to (205, 117): of its four edges only the bottom one crosses the clip.
    clear(black);
    view.draw_frame(RECT{90, 90, 200, 110}, RGB(0, 0, 255));
    EXPECT_EQ(changed_outside(clip, black), 0);
    EXPECT_EQ(changed_outside(RECT{0, 0, 0, 0}, black), 40);
    EXPECT_EQ(pixel(120, 117), 0x001F);
    // Inside the clip a frame is drawn whole, both far edges included.
    clear(black);
    view.draw_frame(RECT{100, 100, 105, 103}, RGB(0, 0, 255));
    EXPECT_EQ(changed_outside(RECT{0, 0, 0, 0}, black), 16);
    EXPECT_EQ(pixel(110, 110), 0x001F);
}

TEST_F(gdi_graphics, copy_image_takes_the_back_buffer_and_refuses_rectangles_past_the_window) {
    clear(black);
    set_pixel(5, 6, 0x1234);
    auto copy = g->copy_image(RECT{5, 6, 9, 8});
    ASSERT_EQ(copy->width(), 4);
    ASSERT_EQ(copy->height(), 2);
    EXPECT_EQ(static_cast<ui_impl::gdi_image&>(*copy).pixels()[0], 0x1234);
    EXPECT_EQ(static_cast<ui_impl::gdi_image&>(*copy).alpha()[7], 255);
    EXPECT_EQ(copy->memory_size(), 4 * 2 * 3 + 32);
    EXPECT_NO_THROW(g->copy_image(RECT{0, 0, 480, 800}));
    for (RECT bad : {RECT{0, 0, 481, 10}, RECT{0, 0, 10, 801}, RECT{-1, 0, 10, 10}, RECT{0, -1, 10, 10}})
        EXPECT_EQ(error_text([&] { g->copy_image(bad); }), "Invalid coordinates");
}

TEST_F(gdi_graphics, end_frame_presents_only_invalidated_rectangles) {
    auto surface = platform::get_window_surface(window.get_hwnd());
    {
        std::lock_guard<std::mutex> lock(surface->mutex());
        surface->fill(black);
    }
    clear(white);
    g->invalidate(RECT{10, 10, 20, 20});
    g->end_frame(false);
    EXPECT_EQ(g->invalidated().size(), 1u); // kept for the next frame
    EXPECT_EQ(surface->pixels()[15 * 480 + 15], black);
    g->invalidate(RECT{470, 790, 900, 900}); // reaches past the window: cut at its edge
    g->end_frame(true);
    EXPECT_TRUE(g->invalidated().empty());
    for (auto at : {std::make_pair(15 * 480 + 15, white),
                    {799 * 480 + 479, white},
                    {9 * 480 + 9, black},
                    {500 * 480 + 100, black}})
        EXPECT_EQ(surface->pixels()[at.first], at.second) << at.first;
}

TEST_F(gdi_graphics, a_frame_of_ornaments_only_is_presented_but_counts_as_no_new_content) {
    auto surface = platform::get_window_surface(window.get_hwnd());
    clear(white);
    const std::uint64_t before = surface->content_changes();
    g->invalidate_ornament(RECT{0, 0, 10, 10});
    g->end_frame(true);
    EXPECT_EQ(surface->pixels()[5 * 480 + 5], white);
    EXPECT_EQ(surface->content_changes(), before);
    g->invalidate_ornament(RECT{0, 0, 10, 10});
    g->invalidate(RECT{20, 20, 30, 30});
    g->end_frame(true);
    EXPECT_EQ(surface->content_changes(), before + 1);
    g->end_frame(true); // nothing invalidated: no touch at all
    g->invalidate_ornament(RECT{0, 0, 10, 10});
    g->end_frame(true); // the content flag went with the frame that had content
    EXPECT_EQ(surface->content_changes(), before + 1);
}

TEST_F(gdi_graphics, size_follows_the_window) {
    EXPECT_EQ(g->window_width(), 480);
    EXPECT_EQ(g->window_height(), 800);
    EXPECT_DOUBLE_EQ(g->aspect_ratio(), 0.6);
    platform::move_window(window.get_hwnd(), 0, 52, 800, 480, true);
    g->update_size();
    EXPECT_EQ(g->window_width(), 800);
    EXPECT_NEAR(g->aspect_ratio(), 800.0 / 428.0, 1e-9);
}

TEST_F(gdi_graphics, the_image_cache_decodes_a_path_once_unless_bypassed) {
    const std::wstring wpath = platform::from_utf8(ZOR_PANEL_DIR "/images/arrow_up.png");
    cl::ui::create_graphics(window);
    auto first = cl::ui::load_image(wpath);
    auto second = cl::ui::load_image(wpath);
    EXPECT_EQ(first, second);
    auto bypass = cl::ui::load_image(wpath, 3, 2, true);
    EXPECT_NE(bypass, first);
    EXPECT_EQ(bypass->width(), 3);
    EXPECT_EQ(cl::ui::load_image(wpath, 3, 2, false), first); // cached under the path
    cl::ui::create_graphics(window);                          // a new, empty cache
    auto fresh = cl::ui::load_image(wpath, 3, 2, true);
    EXPECT_NE(cl::ui::load_image(wpath), fresh); // the bypass stored nothing

    try {
        cl::ui::load_image(L"/nonexistent.png");
        FAIL() << "no exception";
    } catch (const utils::com_error& e) {
        EXPECT_STREQ(e.what(), "can't open image");
        EXPECT_NE(e.code(), 0);
    }
    const char junk[] = "not a picture";
    EXPECT_EQ(error_text<utils::com_error>([&] { cl::ui::load_image_from_buffer(junk, sizeof junk, 0, 0); }),
              "can't read image buffer");
    cl::ui::destroy_graphics();
    EXPECT_EQ(cl::ui::get_graphics(), nullptr);
}

} // namespace
