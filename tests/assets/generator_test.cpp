#include "canvas.h"
#include "continents.h"
#include "earth_texture.h"
#include "picture_files.h"
#include "platform/image_decoder.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace assets;

// Places near the lines that split overlapping boxes, with the continent geography gives them.
TEST(continents, borders_follow_geography) {
    struct place {
        const char* name;
        double longitude, latitude;
        int continent;
    };
    const place places[] = {
        {"Sinai", 33.8, 29.5, asia},
        {"Nile delta", 31, 30.5, africa},
        {"Jeddah", 39.2, 21.5, asia},
        {"Port Sudan", 37.2, 19.6, africa},
        {"Tunis", 10.2, 36.8, africa},
        {"Sicily", 14, 37.5, europe},
        {"Malta", 14.4, 35.9, europe},
        {"Gibraltar", -5.35, 36.14, europe},
        {"Ceuta", -5.31, 35.89, africa},
        {"Edirne", 26.5, 41.7, europe},
        {"Izmit", 29.9, 40.8, asia},
        {"Crete", 25, 35.2, europe},
        {"Cyprus", 33, 35, asia},
        {"Perm", 56.2, 58, europe},
        {"Yekaterinburg", 60.6, 56.8, asia},
        {"Tbilisi", 44.8, 41.7, asia},
        {"Astrakhan", 48, 46.3, europe},
        {"Atyrau", 51.9, 47.1, asia},
        {"Panama City", -79.5, 9, north_america},
        {"Cartagena", -75.5, 10.4, south_america},
        {"Iceland", -19, 65, europe},
        {"Greenland", -40, 72, north_america},
        {"Azores", -28, 38.5, europe},
        {"Bermuda", -64.8, 32.3, north_america},
        {"Chukotka", -175, 66, asia},
        {"Alaska", -150, 64, north_america},
        {"Hawaii", -155.5, 19.6, none},
        {"western New Guinea", 133, -1.5, oceania},
        {"Sulawesi", 121, -2, asia},
        {"Timor", 125.5, -9, asia},
        {"Darwin", 131, -12.5, oceania},
        {"Madagascar", 47, -19, africa},
        {"Somalia", 45, 5, africa},
        {"Riyadh", 46.7, 24.7, asia},
        {"Antarctica", 0, -75, none},
    };
    for (const place& p : places)
        EXPECT_EQ(continent_at(p.longitude, p.latitude), p.continent) << p.name;
}

TEST(continents, land_outside_its_continents_box_has_no_region) {
    auto texel = [](double lon, double lat, int& x, int& y) {
        x = static_cast<int>((lon + 180) / 360 * texture_width);
        y = static_cast<int>((lat + 90) / 180 * texture_height);
    };
    int x, y;
    texel(47, -19, x, y); // Madagascar: Africa, east of Africa's box
    EXPECT_EQ(region_of_texel(x, y), none);
    texel(45, 5, x, y); // the Horn of Africa lies in Asia's box, not in Africa's
    EXPECT_TRUE(box_holds(asia, x, y));
    EXPECT_EQ(region_of_texel(x, y), none);
    texel(20, 10, x, y); // Chad: in both Africa's and Asia's boxes
    EXPECT_EQ(region_of_texel(x, y), africa);
    EXPECT_FALSE(box_holds(asia, texture_width, 200)); // no column beyond the east edge
}

TEST(earth_colours, sea_is_blue_or_dark_and_ice_desert_and_forest_are_land) {
    EXPECT_TRUE(looks_like_sea(0, 0, 50));       // deep ocean
    EXPECT_TRUE(looks_like_sea(60, 140, 160));   // shallow shelf
    EXPECT_TRUE(looks_like_sea(10, 12, 14));     // almost black
    EXPECT_FALSE(looks_like_sea(248, 251, 180)); // Sahara
    EXPECT_FALSE(looks_like_sea(74, 90, 27));    // Amazon
    EXPECT_FALSE(looks_like_sea(255, 255, 255)); // ice sheet
    EXPECT_FALSE(looks_like_sea(104, 102, 53));  // prairie
}

// Cairo keeps premultiplied colours; the files must hold the straight ones, and opaque pictures no alpha.
TEST(picture_files, panel_decodes_written_pictures_with_their_colours) {
    temp_folder dir;
    for (bool with_alpha : {false, true}) {
        canvas c(4, 2);
        cairo_t* cr = c.cr();
        cairo_set_source_rgb(cr, 1, 0, 0);
        cairo_rectangle(cr, 0, 0, 2, 2);
        cairo_fill(cr);
        cairo_set_source_rgba(cr, 0, 0, 1, with_alpha ? 0.5 : 1.0);
        cairo_rectangle(cr, 2, 0, 2, 2);
        cairo_fill(cr);
        const std::string path = dir.file(with_alpha ? "deep/folder/a.png" : "b.png");
        write_png(path, c.pixels());
        std::ifstream in(path, std::ios::binary);
        char header[26] = {};
        in.read(header, sizeof header);
        EXPECT_EQ(header[25], with_alpha ? 6 : 2); // RGBA or RGB colour type
        auto r = platform::decode_image_file(path);
        ASSERT_TRUE(r.ok()) << r.detail;
        EXPECT_EQ(r.image.pixels[0], 0xF800);
        EXPECT_EQ(r.image.pixels[3], 0x001F);
        EXPECT_EQ(r.image.alpha[0], 255);
        EXPECT_NEAR(r.image.alpha[3], with_alpha ? 128 : 255, 1);
    }
}

TEST(picture_files, transparent_pixels_take_the_nearest_visible_colour) {
    canvas c(6, 1);
    cairo_set_source_rgb(c.cr(), 0, 1, 0);
    cairo_rectangle(c.cr(), 1, 0, 1, 1);
    cairo_fill(c.cr());
    cairo_set_source_rgb(c.cr(), 0, 0, 1);
    cairo_rectangle(c.cr(), 5, 0, 1, 1);
    cairo_fill(c.cr());
    rgba_image img = c.pixels();
    img.bleed_into_transparent();
    const std::uint8_t green[3] = {0, 255, 0}, blue[3] = {0, 0, 255};
    const std::uint8_t* expected[6] = {green, green, green, green, blue, blue};
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(img.rgba[x * 4 + 1], expected[x][1]) << x;
        EXPECT_EQ(img.rgba[x * 4 + 2], expected[x][2]) << x;
    }
    EXPECT_EQ(img.rgba[0 * 4 + 3], 0); // alpha itself is kept
}

} // namespace
