#include "platform/image_decoder.h"
#include "platform/text.h"
#include "support/temp_folder.h"
#include "ui/resources.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <set>
#include <sstream>

namespace {

namespace res = cl::ui::resources;

struct picture {
    platform::decoded_image image;
    int luminance(int x, int y) const {
        const std::uint16_t p = image.pixels[static_cast<std::size_t>(y) * image.width + x];
        return (((p >> 11) << 3) * 30 + (((p >> 5) & 0x3F) << 2) * 59 + ((p & 0x1F) << 3) * 11) / 100;
    }
    int alpha(int x, int y) const { return image.alpha[static_cast<std::size_t>(y) * image.width + x]; }
};

// Decodes the installed file of a key in one orientation with the panel's own decoder.
picture installed(const std::wstring& key, bool portrait) {
    res::set_portrait(portrait);
    const std::string path = platform::to_utf8(res::path(key));
    auto result = platform::decode_image_file(path);
    EXPECT_TRUE(result.ok()) << path << ": " << result.detail;
    return picture{std::move(result.image)};
}

class installed_pictures : public ::testing::Test {
protected:
    void SetUp() override { res::load(platform::from_utf8(ZOR_PANEL_DIR)); }
    void TearDown() override { res::set_portrait(true); }
};

TEST_F(installed_pictures, chrome_fits_the_screen_in_both_orientations) {
    struct expectation {
        const wchar_t* key;
        int width;        // exact
        int min_h, max_h; // inclusive
    };
    // The client area is the screen less the host's 52-pixel bar: 480 x 748 and 800 x 428. The header's logo
    // area reaches y 52; the footer's hot areas reach y 48 (two rows) and y 32 (one row).
    const expectation portrait[] = {{L"background", 480, 748, 748}, {L"header", 480, 53, 64},
                                    {L"top_bar", 480, 40, 60},      {L"footer", 480, 49, 56},
                                    {L"divider", 480, 1, 4},        {L"panel_inner_shadow", 480, 4, 20}};
    const expectation landscape[] = {{L"background", 800, 428, 428}, {L"header", 800, 53, 64},
                                     {L"top_bar", 800, 40, 60},      {L"footer", 800, 33, 40},
                                     {L"divider", 800, 1, 4},        {L"panel_inner_shadow", 800, 4, 20}};
    for (bool is_portrait : {true, false})
        for (const expectation& e : is_portrait ? portrait : landscape) {
            const picture p = installed(e.key, is_portrait);
            SCOPED_TRACE(platform::to_utf8(e.key) + (is_portrait ? " portrait" : " landscape"));
            EXPECT_EQ(p.image.width, e.width);
            EXPECT_GE(p.image.height, e.min_h);
            EXPECT_LE(p.image.height, e.max_h);
        }
}

TEST_F(installed_pictures, sets_share_one_size_and_fit_where_they_are_drawn) {
    auto size_of = [](const std::wstring& key, bool portrait = true) {
        const picture p = installed(key, portrait);
        return std::make_pair(p.image.width, p.image.height);
    };
    auto same_size = [&](std::initializer_list<std::wstring> keys) {
        const auto first = size_of(*keys.begin());
        for (const auto& k : keys)
            EXPECT_EQ(size_of(k), first) << platform::to_utf8(k);
        return first;
    };
    same_size({L"top_left_corner", L"top_right_corner", L"bottom_right_corner", L"bottom_left_corner",
               L"focused_top_left_corner", L"focused_top_right_corner", L"focused_bottom_right_corner",
               L"focused_bottom_left_corner"});
    // Option rows put the mark 20 pixels into a row indented 34 and start the caption at x 90; rows are 66
    // high.
    const auto mark =
        same_size({L"settings_tickbox_on", L"settings_tickbox_off", L"settings_tickbox_on_selected",
                   L"settings_tickbox_off_selected", L"settings_radio_on", L"settings_radio_off",
                   L"settings_radio_on_selected", L"settings_radio_off_selected", L"checkbox_open",
                   L"checkbox_closed", L"checkbox_open_selected", L"checkbox_closed_selected"});
    EXPECT_LE(mark.first, 90 - 34 - 20);
    EXPECT_LE(mark.second, 66);
    same_size({L"globe_1", L"globe_2", L"globe_3", L"globe_4", L"globe_5", L"city_1", L"city_2", L"city_3",
               L"city_4", L"city_5"});
    const auto icon =
        same_size({L"state_0",  L"state_1",  L"state_2",  L"state_3",   L"state_5",  L"state_6",
                   L"state_7",  L"state_9",  L"state_13", L"state_14",  L"state_15", L"state_19",
                   L"state_21", L"state_22", L"state_28", L"state_c6",  L"state_c7", L"state_c9",
                   L"state_s6", L"state_s7", L"state_s9", L"state_s13", L"state_s14"});
    EXPECT_LE(icon.second, 52);                      // the header bar shows it
    std::set<std::vector<std::uint16_t>> icon_looks; // every weather state its own icon
    for (const auto& k : res::keys())
        if (k.key.rfind(L"state_", 0) == 0)
            icon_looks.insert(installed(k.key, true).image.pixels);
    EXPECT_EQ(icon_looks.size(), 23u);
    // The home shortcuts are list rows: the 480-pixel list less 4 pixels each side.
    const auto row = same_size({L"tipline_link", L"tipline_link_sel", L"weather_link", L"weather_link_sel",
                                L"video_link", L"video_link_sel"});
    EXPECT_EQ(row.first, 472);
    // Landscape tiles: 5 pixels into the 320-pixel column, two of them 2 pixels apart above the ticker.
    for (const wchar_t* tile : {L"home_weather", L"home_tipline"}) {
        const auto t = size_of(tile, false);
        EXPECT_LE(5 + t.first, 320);
        // The panel's 428 pixels less header, tabs, footer, command bar and ticker.
        EXPECT_LE(2 + 2 * t.second + 2, 428 - 56 - 50 - 34 - 40 - 104);
    }
    EXPECT_EQ(size_of(L"earth_shade"), std::make_pair(210, 214));
    EXPECT_EQ(size_of(L"top_arrow_10x5"), std::make_pair(10, 5));
    EXPECT_EQ(size_of(L"bottom_arrow_10x5"), std::make_pair(10, 5));
    // The globe page puts the right arrow at x 460 of the 480-pixel portrait screen.
    EXPECT_LE(size_of(L"globe_arrow_right").first, 20);
    // The tab bar's arrows bounce at top + 5 inside its 50 pixels.
    EXPECT_LE(size_of(L"arrow_left").second, 40);
    EXPECT_LE(size_of(L"arrow_right").second, 40);
    // The error view's icon box is 68 x 62; the enlarge mark's box 194 x 194.
    EXPECT_LE(size_of(L"warning").first, 68);
    EXPECT_LE(size_of(L"warning").second, 62);
    EXPECT_LE(size_of(L"click_to_enlarge").first, 194);
}

TEST_F(installed_pictures, pictures_copied_without_blending_are_opaque_and_overlays_are_not) {
    // Corners, marks and shortcut rows are drawn as plain copies, so what is under their alpha would show.
    for (const wchar_t* key :
         {L"top_left_corner", L"focused_bottom_right_corner", L"settings_tickbox_on",
          L"settings_radio_off_selected", L"checkbox_closed_selected", L"arrow_right2", L"arrow_right2_s",
          L"arrow_left2", L"tipline_link", L"weather_link_sel", L"top_arrow_10x5", L"left_top_border"}) {
        const picture p = installed(key, true);
        for (int y = 0; y < p.image.height; ++y)
            for (int x = 0; x < p.image.width; ++x)
                ASSERT_EQ(p.alpha(x, y), 255) << platform::to_utf8(key) << " at " << x << "," << y;
    }
    // Overlays drawn with alpha let the picture below show at their corners.
    for (const wchar_t* key :
         {L"globe_arrow_up", L"arrow_left", L"state_14", L"warning", L"weather_shadow"}) {
        const picture p = installed(key, true);
        EXPECT_EQ(p.alpha(0, 0), 0) << platform::to_utf8(key);
        EXPECT_EQ(p.alpha(p.image.width - 1, p.image.height - 1), 0) << platform::to_utf8(key);
    }
    // The shade frames the globe: clear over the globe's middle, darker towards its edge.
    const picture shade = installed(L"earth_shade", true);
    EXPECT_EQ(shade.alpha(98, 100), 0);
    int ring = 0;
    for (int x = 0; x < shade.image.width; ++x)
        ring = std::max(ring, shade.alpha(x, 100));
    EXPECT_GT(ring, 40);
}

TEST_F(installed_pictures, a_ticked_mark_never_looks_focused_and_the_shortcuts_carry_their_word) {
    // A focused row is the red one; the mark that says "on" in a white row shows none of that red, and the
    // radio marks differ from the tick boxes.
    const std::uint16_t focused = installed(L"settings_tickbox_off_selected", true).image.pixels[0];
    for (const wchar_t* key : {L"settings_tickbox_on", L"settings_radio_on"}) {
        const picture p = installed(key, true);
        int red = 0;
        for (std::uint16_t px : p.image.pixels)
            red += px == focused;
        EXPECT_EQ(red, 0) << platform::to_utf8(key);
    }
    EXPECT_NE(installed(L"settings_radio_on", true).image.pixels,
              installed(L"settings_tickbox_on", true).image.pixels);
    // Each shortcut row has its word in dark ink right of the badge, where the pictures have none.
    for (const wchar_t* key : {L"weather_link", L"tipline_link", L"video_link"}) {
        const picture p = installed(key, true);
        int ink = 0;
        for (int y = 10; y < p.image.height - 10; ++y)
            for (int x = 76; x < 200; ++x)
                ink += p.luminance(x, y) < 90;
        EXPECT_GT(ink, 150) << platform::to_utf8(key);
    }
    // The landscape tiles carry theirs in white.
    for (const wchar_t* key : {L"home_weather", L"home_tipline"}) {
        const picture p = installed(key, false);
        int white = 0;
        for (int y = 20; y < p.image.height - 20; ++y)
            for (int x = 104; x < 240; ++x)
                white += p.luminance(x, y) > 235;
        EXPECT_GT(white, 150) << platform::to_utf8(key);
    }
}

// The hot areas of the footer's seven links (right and bottom inclusive).
struct area {
    int left, top, right, bottom;
};
const area portrait_links[7] = {{33, 2, 148, 30},   {149, 2, 232, 30}, {233, 2, 337, 30}, {338, 2, 406, 30},
                                {149, 32, 311, 48}, {87, 32, 148, 48}, {312, 32, 400, 48}};
const area landscape_links[7] = {{68, 2, 176, 32},  {177, 2, 247, 32}, {248, 2, 343, 32}, {344, 2, 415, 32},
                                 {483, 2, 638, 32}, {416, 2, 482, 32}, {639, 2, 722, 32}};

TEST_F(installed_pictures, footer_names_sit_inside_their_hot_areas_and_the_logo_in_its_area) {
    for (bool portrait : {true, false}) {
        SCOPED_TRACE(portrait ? "portrait" : "landscape");
        const picture footer = installed(L"footer", portrait);
        const area* links = portrait ? portrait_links : landscape_links;
        auto link_at = [&](int x, int y) {
            for (int i = 0; i < 7; ++i)
                if (x >= links[i].left && x <= links[i].right && y >= links[i].top && y <= links[i].bottom)
                    return i;
            return -1;
        };
        int text_pixels[7] = {};
        int stray = 0;
        for (int y = 0; y < footer.image.height; ++y)
            for (int x = 0; x < footer.image.width; ++x)
                if (footer.luminance(x, y) > 200) {
                    const int i = link_at(x, y);
                    (i < 0 ? stray : text_pixels[i])++;
                }
        EXPECT_EQ(stray, 0);
        for (int i = 0; i < 7; ++i) {
            EXPECT_GT(text_pixels[i], 25) << "link " << i;
            // The name is centred: white on both halves of the area.
            const area& a = links[i];
            int left_half = 0;
            for (int y = a.top; y <= a.bottom; ++y)
                for (int x = a.left; x <= (a.left + a.right) / 2; ++x)
                    left_half += footer.luminance(x, y) > 200;
            EXPECT_GT(left_half, text_pixels[i] / 4) << "link " << i;
            EXPECT_LT(left_half, text_pixels[i] * 3 / 4) << "link " << i;
        }
        // The header's logo stays inside its area.
        const picture header = installed(L"header", portrait);
        int logo = 0;
        for (int y = 0; y < header.image.height; ++y)
            for (int x = 0; x < 140; ++x)
                if (header.luminance(x, y) > 200) {
                    ++logo;
                    EXPECT_TRUE(x >= 4 && x <= 95 && y >= 4 && y <= 52) << x << "," << y;
                }
        EXPECT_GT(logo, 200);
    }
}

std::string file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A second run of the generator gives the installed files byte for byte, and the panel decodes each.
TEST(generated_files, are_the_same_on_every_run) {
    temp_folder out;
    const std::string command = std::string("'") + ZOR_ASSET_GENERATOR + "' --out '" + out.path() +
                                "' --earth '" + ZOR_EARTH_PICTURE + "' --config '" + ZOR_DEFAULT_CONFIG +
                                "' --font '" + ZOR_FOOTER_FONT + "' >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    res::load(platform::from_utf8(out.path()));
    const std::string installed_prefix = std::string(ZOR_PANEL_DIR) + "/images/";
    const std::string fresh_prefix = out.path() + "/images/";
    std::set<std::string> compared;
    for (const auto& k : res::keys())
        for (bool portrait : {true, false}) {
            if (!(portrait ? k.portrait : k.landscape))
                continue;
            res::set_portrait(portrait);
            const std::string fresh = platform::to_utf8(res::path(k.key));
            const std::string relative = fresh.substr(fresh_prefix.size());
            const std::string bytes = file_bytes(fresh);
            ASSERT_FALSE(bytes.empty()) << relative;
            EXPECT_EQ(bytes, file_bytes(installed_prefix + relative)) << relative;
            const auto decoded = platform::decode_image_file(installed_prefix + relative);
            EXPECT_TRUE(decoded.ok() && decoded.image.width > 0) << relative << ": " << decoded.detail;
            compared.insert(relative);
        }
    res::set_portrait(true);
    EXPECT_EQ(compared.size(), 103u);
    for (const char* raw : {"/rgbaEarthA.raw", "/rgbaEarthB.raw"})
        EXPECT_EQ(file_bytes(out.path() + raw), file_bytes(std::string(ZOR_PANEL_DIR) + raw)) << raw;
}

} // namespace
