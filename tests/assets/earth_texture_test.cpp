#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr int width = 512, height = 256;

// The 512 x 256 texture as the globe reads it: file A the west half, file B the east half, rows from the
// south edge up, R, G, B and the region mask per texel.
struct texture {
    std::vector<std::uint8_t> rgba = std::vector<std::uint8_t>(width * height * 4);
    std::uint8_t* at(int x, int y) { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
    int region(int x, int y) { return at(x, y)[3] >> 5; }
};

std::vector<std::uint8_t> read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

texture load() {
    texture t;
    const auto a = read_all(std::string(ZOR_PANEL_DIR) + "/rgbaEarthA.raw");
    const auto b = read_all(std::string(ZOR_PANEL_DIR) + "/rgbaEarthB.raw");
    EXPECT_EQ(a.size(), 262144u);
    EXPECT_EQ(b.size(), 262144u);
    if (a.size() != 262144u || b.size() != 262144u)
        return t;
    for (int y = 0; y < height; ++y)
        for (int half = 0; half < 2; ++half)
            std::copy_n(&(half ? b : a)[static_cast<std::size_t>(y) * 256 * 4], 256 * 4, t.at(half * 256, y));
    return t;
}

// The regions' boxes: x from the west edge, y from the south edge, width, height.
const std::array<std::array<int, 4>, 7> boxes = {{{0, 0, 0, 0},
                                                  {277, 113, 234, 131},
                                                  {0, 138, 230, 109},
                                                  {124, 48, 67, 98},
                                                  {400, 60, 96, 72},
                                                  {214, 78, 99, 103},
                                                  {206, 177, 133, 67}}};

bool in_box(int r, int x, int y) {
    const auto& b = boxes[r];
    return x >= b[0] && x < std::min(b[0] + b[2], width) && y >= b[1] && y < b[1] + b[3];
}

// What the globe does to the texture: mark darkens a region's texels, restore brightens them back.
void shade(texture& t, int r, int sign) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (in_box(r, x, y) && t.region(x, y) == r) {
                std::uint8_t* p = t.at(x, y);
                for (int c = 0; c < 3; ++c)
                    p[c] = static_cast<std::uint8_t>(p[c] + sign * 4 * (p[3] & 31));
            }
}

int region_at(texture& t, double longitude, double latitude) {
    const int x = static_cast<int>((longitude + 180.0) / 360.0 * width);
    const int y = static_cast<int>((latitude + 90.0) / 180.0 * height);
    return t.region(x, y);
}

TEST(earth_texture, land_belongs_to_its_continent_and_sea_to_none) {
    texture t = load();
    struct place {
        const char* name;
        double longitude, latitude;
        int region;
    };
    const place places[] = {
        {"Sahara", 10, 23, 5},
        {"Congo basin", 22, -2, 5},
        {"Egypt", 30, 26, 5},
        {"central Australia", 134, -25, 4},
        {"New Guinea", 143, -6, 4},
        {"Amazon", -60, -5, 3},
        {"Patagonia", -69, -45, 3},
        {"Kansas", -98, 38, 2},
        {"Canadian north", -110, 60, 2},
        {"Mexico", -102, 23, 2},
        {"Mongolia", 105, 47, 1},
        {"India", 78, 22, 1},
        {"Arabia", 46, 24, 1},
        {"Anatolia", 33, 39, 1},
        {"Borneo", 114, 0, 1},
        {"Germany", 10, 51, 6},
        {"Moscow", 38, 56, 6},
        {"Spain", -4, 40, 6},
        {"mid-Atlantic", -35, 20, 0},
        {"Pacific", -150, 0, 0},
        {"Indian Ocean", 80, -20, 0},
        {"Mediterranean", 18, 34, 0},
        {"Arctic sea ice", -150, 80, 0},
        {"Antarctica", 0, -80, 0},
    };
    for (const place& p : places)
        EXPECT_EQ(region_at(t, p.longitude, p.latitude), p.region) << p.name;
}

TEST(earth_texture, regions_lie_in_their_boxes_and_marking_darkens_visibly_and_restores_every_byte) {
    texture original = load();
    texture t = original;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_LE(t.region(x, y), 6) << x << "," << y;
    for (int r = 1; r <= 6; ++r) {
        SCOPED_TRACE("region " + std::to_string(r));
        long before = 0, after = 0;
        int texels = 0;
        texture marked = t;
        shade(marked, r, -1);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                if (t.region(x, y) != r)
                    continue;
                // Outside its box the globe would never mark or restore it.
                ASSERT_TRUE(in_box(r, x, y)) << x << "," << y;
                ++texels;
                for (int c = 0; c < 3; ++c) {
                    // Darker in every channel: the subtraction never wraps round to a bright value.
                    ASSERT_LE(marked.at(x, y)[c], t.at(x, y)[c]) << x << "," << y;
                    before += t.at(x, y)[c];
                    after += marked.at(x, y)[c];
                }
            }
        EXPECT_GT(texels, 400);
        EXPECT_LT(after, before * 3 / 4);
        // The globe restores the old region and marks the next one as the user turns it.
        shade(marked, r, +1);
        EXPECT_EQ(marked.rgba, original.rgba);
    }
    for (int from = 1; from <= 6; ++from) {
        shade(t, from, -1);
        shade(t, from % 6 + 1, -1);
        shade(t, from, +1);
        shade(t, from % 6 + 1, +1);
    }
    EXPECT_EQ(t.rgba, original.rgba);
}

} // namespace
