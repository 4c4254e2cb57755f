#include "platform/image_decoder.h"
#include "support/picture_maker.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <jpeglib.h>

namespace {

using platform::decode_status;

std::uint16_t rgb565(int r, int g, int b) {
    return static_cast<std::uint16_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3));
}

TEST(image_decoder, png_keeps_exact_colours_and_alpha) {
    std::vector<std::uint8_t> rgba = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 10, 20, 30, 40};
    auto png = encode_png(2, 2, rgba);
    auto r = platform::decode_image_buffer(png.data(), png.size());
    ASSERT_TRUE(r.ok()) << r.detail;
    EXPECT_EQ(r.image.width, 2);
    EXPECT_EQ(r.image.height, 2);
    EXPECT_EQ(r.image.pixels, (std::vector<std::uint16_t>{0xF800, 0x07E0, 0x001F, rgb565(10, 20, 30)}));
    EXPECT_EQ(r.image.alpha, (std::vector<std::uint8_t>{255, 128, 0, 40}));
}

// Four quadrants of their own colour: rows and channels land where they belong, at the picture's own size
// and when the decoder reduces it by itself.
TEST(image_decoder, jpeg_rows_and_channels_keep_their_places) {
    const int w = 64, h = 32;
    const std::uint8_t colours[4][3] = {{250, 20, 20}, {20, 250, 20}, {20, 20, 250}, {240, 240, 30}};
    std::vector<std::uint8_t> rgb(w * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                rgb[(y * w + x) * 3 + c] = colours[(y >= h / 2) * 2 + (x >= w / 2)][c];
    auto jpg = encode_jpeg(w, h, rgb);
    for (int scale : {1, 2}) {
        auto r = platform::decode_image_buffer(jpg.data(), jpg.size(), w / scale, h / scale);
        ASSERT_TRUE(r.ok()) << r.detail;
        ASSERT_EQ(r.image.width, w / scale);
        ASSERT_EQ(r.image.height, h / scale);
        for (int q = 0; q < 4; ++q) {
            const int x = (q % 2 * 2 + 1) * w / scale / 4, y = (q / 2 * 2 + 1) * h / scale / 4;
            const std::uint16_t p = r.image.pixels[y * r.image.width + x];
            EXPECT_NEAR((p >> 11) << 3, colours[q][0], 16) << "quadrant " << q << " at 1/" << scale;
            EXPECT_NEAR(((p >> 5) & 0x3F) << 2, colours[q][1], 16) << "quadrant " << q << " at 1/" << scale;
            EXPECT_NEAR((p & 0x1F) << 3, colours[q][2], 16) << "quadrant " << q << " at 1/" << scale;
        }
        EXPECT_EQ(r.image.alpha, std::vector<std::uint8_t>(r.image.pixels.size(), 255));
    }
}

// What the surface must receive: the decoder's own full-precision RGB, low bits dropped.
std::vector<std::uint16_t> reference_rgb565(const std::vector<std::uint8_t>& jpg) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpg.data(), static_cast<unsigned long>(jpg.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    std::vector<std::uint8_t> row(info.output_width * 3);
    std::vector<std::uint16_t> out;
    while (info.output_scanline < info.output_height) {
        JSAMPROW r = row.data();
        jpeg_read_scanlines(&info, &r, 1);
        for (std::size_t x = 0; x < info.output_width; ++x)
            out.push_back(rgb565(row[x * 3], row[x * 3 + 1], row[x * 3 + 2]));
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return out;
}

// Colour and grey pictures at their own size take different ways out of the decoder; both must give exactly
// the decoder's colours, in place, without dithering.
TEST(image_decoder, jpeg_at_its_own_size_keeps_the_decoders_exact_colours) {
    const int w = 37, h = 23; // not a multiple of the 16-pixel blocks of a subsampled picture
    std::vector<std::uint8_t> rgb(w * h * 3), grey(w * h);
    for (int i = 0; i < w * h; ++i) {
        rgb[i * 3] = static_cast<std::uint8_t>(i * 7);
        rgb[i * 3 + 1] = static_cast<std::uint8_t>((i / w) * 11);
        rgb[i * 3 + 2] = static_cast<std::uint8_t>(255 - (i % w) * 5);
        grey[i] = static_cast<std::uint8_t>(i * 13);
    }
    for (const auto& jpg : {encode_jpeg(w, h, rgb, 75), encode_jpeg(w, h, grey, 75, 1)}) {
        auto r = platform::decode_image_buffer(jpg.data(), jpg.size(), w, h);
        ASSERT_TRUE(r.ok()) << r.detail;
        EXPECT_EQ(r.image.pixels, reference_rgb565(jpg));
        EXPECT_EQ(r.image.alpha, std::vector<std::uint8_t>(w * h, 255));
        EXPECT_EQ(platform::decode_image_buffer(jpg.data(), jpg.size()).image.pixels,
                  r.image.pixels); // no size
    }
}

TEST(image_decoder, scales_to_a_requested_size) {
    auto png = encode_png(40, 20, solid_rgba(40, 20, 0, 0, 255, 255));
    auto r = platform::decode_image_buffer(png.data(), png.size(), 10, 5);
    ASSERT_TRUE(r.ok()) << r.detail;
    EXPECT_EQ(r.image.width, 10);
    EXPECT_EQ(r.image.height, 5);
    EXPECT_EQ(r.image.pixels[0], 0x001F);
    EXPECT_EQ(r.image.alpha[24], 255);

    std::vector<std::uint8_t> rgb(400 * 300 * 3, 90);
    auto jpg = encode_jpeg(400, 300, rgb);
    auto big = platform::decode_image_buffer(jpg.data(), jpg.size(), 60, 45);
    ASSERT_TRUE(big.ok());
    EXPECT_EQ(big.image.width, 60);
    EXPECT_EQ(big.image.height, 45);

    auto one_side = platform::decode_image_buffer(png.data(), png.size(), 0, 10);
    ASSERT_TRUE(one_side.ok());
    EXPECT_EQ(one_side.image.width, 40);
    EXPECT_EQ(one_side.image.height, 10);
}

TEST(image_decoder, refuses_truncated_corrupt_unknown_oversized_and_missing_pictures) {
    auto png = encode_png(32, 32, solid_rgba(32, 32, 1, 2, 3, 255));
    auto cut = platform::decode_image_buffer(png.data(), png.size() - 20);
    EXPECT_EQ(cut.status, decode_status::corrupt);

    std::vector<std::uint8_t> rgb(64 * 64 * 3, 77);
    auto jpg = encode_jpeg(64, 64, rgb);
    auto cut_jpeg = platform::decode_image_buffer(jpg.data(), jpg.size() / 2);
    EXPECT_EQ(cut_jpeg.status, decode_status::corrupt);

    auto damaged = png;
    damaged[20] ^= 0xFF; // the height in the header chunk: its checksum no longer matches
    EXPECT_EQ(platform::decode_image_buffer(damaged.data(), damaged.size()).status, decode_status::corrupt);

    const char text[] = "GIF89a not supported";
    EXPECT_EQ(platform::decode_image_buffer(text, sizeof text).status, decode_status::unknown_format);
    EXPECT_EQ(platform::decode_image_buffer(nullptr, 0).status, decode_status::unknown_format);

    auto wide = encode_png(4097, 1, solid_rgba(4097, 1, 0, 0, 0, 255));
    EXPECT_EQ(platform::decode_image_buffer(wide.data(), wide.size()).status, decode_status::too_large);
    auto edge = encode_png(4096, 1, solid_rgba(4096, 1, 0, 0, 0, 255));
    EXPECT_TRUE(platform::decode_image_buffer(edge.data(), edge.size()).ok());
    EXPECT_EQ(platform::decode_image_buffer(png.data(), png.size(), 5000, 10).status,
              decode_status::too_large);
    EXPECT_EQ(platform::decode_image_buffer(png.data(), png.size(), -1, 10).status, decode_status::too_large);
    EXPECT_EQ(platform::decode_image_file("/nonexistent/picture.png").status, decode_status::unreadable);

    // A JPEG header claiming a huge picture is refused before decoding: the frame header (FFC0) holds height
    // and width as two 16-bit numbers.
    for (std::size_t i = 0; i + 8 < jpg.size(); ++i) {
        if (jpg[i] == 0xFF && jpg[i + 1] == 0xC0) {
            jpg[i + 5] = 0xFF; // height 0xFF40
            jpg[i + 7] = 0xFF; // width 0xFF40
            break;
        }
    }
    EXPECT_EQ(platform::decode_image_buffer(jpg.data(), jpg.size()).status, decode_status::too_large);
}

} // namespace
