#include "picture_decoder.h"
#include "support/picture_maker.h"

#include <gtest/gtest.h>
#include <webp/encode.h>

namespace {

// Left half red, right half blue, w x h.
std::vector<std::uint8_t> halves_rgb(int w, int h) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
            p[0] = x < w / 2 ? 255 : 0;
            p[2] = x < w / 2 ? 0 : 255;
        }
    return rgb;
}

std::string webp(int w, int h, const std::vector<std::uint8_t>& rgb) {
    std::uint8_t* out = nullptr;
    const std::size_t size = WebPEncodeLosslessRGB(rgb.data(), w, h, w * 3, &out);
    std::string bytes(reinterpret_cast<const char*>(out), size);
    WebPFree(out);
    return bytes;
}

std::string text(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TEST(picture_decoder, reads_jpeg_png_and_webp) {
    const std::vector<std::uint8_t> rgb = halves_rgb(64, 48);
    std::vector<std::uint8_t> rgba;
    for (std::size_t i = 0; i < rgb.size(); i += 3)
        rgba.insert(rgba.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});
    struct {
        const char* what;
        std::string bytes;
        int tolerance;
    } pictures[] = {
        {"jpeg", text(encode_jpeg(64, 48, rgb, 95)), 40},
        {"png", text(encode_png(64, 48, rgba)), 0},
        {"webp", webp(64, 48, rgb), 0},
    };
    for (const auto& p : pictures) {
        server::raster r;
        std::string error;
        ASSERT_TRUE(server::decode_picture(p.bytes, r, error)) << p.what << ": " << error;
        EXPECT_EQ(r.width, 64) << p.what;
        EXPECT_EQ(r.height, 48) << p.what;
        EXPECT_NEAR(r.at(5, 5)[0], 255, p.tolerance) << p.what;
        EXPECT_NEAR(r.at(60, 40)[2], 255, p.tolerance) << p.what;
        EXPECT_NEAR(r.at(60, 40)[0], 0, p.tolerance) << p.what;
    }
    // Transparent pixels are laid over white.
    server::raster r;
    std::string error;
    ASSERT_TRUE(server::decode_picture(text(encode_png(4, 4, solid_rgba(4, 4, 0, 0, 0, 0))), r, error));
    EXPECT_EQ(r.at(1, 1)[0], 255);
}

TEST(picture_decoder, refuses_broken_truncated_and_oversized_pictures) {
    const std::string jpeg = text(encode_jpeg(64, 48, halves_rgb(64, 48)));
    const std::string png = text(encode_png(64, 48, solid_rgba(64, 48, 1, 2, 3, 255)));
    const std::string web = webp(64, 48, halves_rgb(64, 48));
    std::string huge_png = text(encode_png(8, 8, solid_rgba(8, 8, 1, 2, 3, 255)));
    huge_png[16] = 0x7F; // width 2^31 - ...: the header claims a giant picture
    struct {
        const char* what;
        std::string bytes;
    } refused[] = {
        {"empty", ""},
        {"text", "<html>not a picture</html>"},
        {"gif", "GIF89a\x01\x00\x01\x00"},
        {"truncated jpeg", jpeg.substr(0, jpeg.size() / 2)},
        {"truncated png", png.substr(0, png.size() - 20)},
        {"truncated webp", web.substr(0, web.size() / 2)},
        {"jpeg header only", jpeg.substr(0, 20)},
        {"giant png", huge_png},
    };
    for (const auto& r : refused) {
        server::raster out;
        std::string error;
        EXPECT_FALSE(server::decode_picture(r.bytes, out, error)) << r.what;
        EXPECT_FALSE(error.empty()) << r.what;
    }
    server::raster out;
    std::string error;
    EXPECT_FALSE(server::decode_picture(jpeg, out, error, 32));
    EXPECT_NE(error.find("64 x 48"), std::string::npos) << error;
}

TEST(picture_decoder, crops_to_fill_keeping_the_middle) {
    server::raster wide(200, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            // red left quarter, green middle, blue right quarter
            std::uint8_t* p = wide.at(x, y);
            p[x < 50 ? 0 : x < 150 ? 1 : 2] = 255;
        }
    const server::raster square = server::crop_and_scale(wide, 50, 50);
    ASSERT_EQ(square.width, 50);
    ASSERT_EQ(square.height, 50);
    // The sides are cut away: only the green middle is left, edges included.
    for (int x : {0, 25, 49}) {
        EXPECT_GT(square.at(x, 25)[1], 200) << x;
        EXPECT_LT(square.at(x, 25)[0], 60) << x;
        EXPECT_LT(square.at(x, 25)[2], 60) << x;
    }
    // Shrinking averages: a fine checkerboard becomes an even grey, not one of its colours.
    server::raster checks(400, 400);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x)
            std::fill(checks.at(x, y), checks.at(x, y) + 3, static_cast<std::uint8_t>((x + y) % 2 ? 255 : 0));
    const server::raster small = server::crop_and_scale(checks, 40, 30);
    EXPECT_NEAR(small.at(20, 15)[0], 128, 20);
    const server::raster tall = server::crop_and_scale(wide, 30, 90);
    EXPECT_GT(tall.at(15, 45)[1], 200);
}

} // namespace
