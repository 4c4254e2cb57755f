#include "picture_decoder.h"

#include <cairo.h>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <memory>
#include <png.h>
#include <webp/decode.h>

namespace server {

namespace {

struct jpeg_failure {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void on_jpeg_error(j_common_ptr info) {
    auto* f = reinterpret_cast<jpeg_failure*>(info->err);
    info->err->format_message(info, f->message);
    std::longjmp(f->jump, 1);
}

// A corrupt-data warning ends the decode too: a truncated picture is refused, not shown half grey.
void on_jpeg_warning(j_common_ptr info, int level) {
    if (level < 0)
        on_jpeg_error(info);
}

bool size_ok(long w, long h, int max_side, long max_pixels, std::string& error) {
    if (w <= 0 || h <= 0 || w > max_side || h > max_side || w * h > max_pixels) {
        error = "picture of " + std::to_string(w) + " x " + std::to_string(h) + " pixels refused";
        return false;
    }
    return true;
}

bool decode_jpeg(const std::string& bytes, raster& out, std::string& error, int max_side, long max_pixels) {
    jpeg_decompress_struct info{};
    jpeg_failure err{};
    info.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = on_jpeg_error;
    err.mgr.emit_message = on_jpeg_warning;
    raster picture;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        error = std::string("JPEG: ") + err.message;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (!size_ok(info.image_width, info.image_height, max_side, max_pixels, error)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    picture = raster(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture.at(0, static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    out = std::move(picture);
    return true;
}

void over_white(const std::uint8_t* rgba, std::size_t pixels, raster& out) {
    for (std::size_t i = 0; i < pixels; ++i) {
        const unsigned a = rgba[i * 4 + 3];
        for (int k = 0; k < 3; ++k)
            out.rgb[i * 3 + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(
                (rgba[i * 4 + static_cast<std::size_t>(k)] * a + 255 * (255 - a) + 127) / 255);
    }
}

bool decode_png(const std::string& bytes, raster& out, std::string& error, int max_side, long max_pixels) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        error = std::string("PNG: ") + image.message;
        return false;
    }
    if (!size_ok(image.width, image.height, max_side, max_pixels, error)) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        error = std::string("PNG: ") + image.message;
        png_image_free(&image);
        return false;
    }
    raster picture(static_cast<int>(image.width), static_cast<int>(image.height));
    over_white(rgba.data(), static_cast<std::size_t>(image.width) * image.height, picture);
    out = std::move(picture);
    return true;
}

bool decode_webp(const std::string& bytes, raster& out, std::string& error, int max_side, long max_pixels) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    int w = 0, h = 0;
    if (!WebPGetInfo(data, bytes.size(), &w, &h)) {
        error = "WebP: not a readable picture";
        return false;
    }
    if (!size_ok(w, h, max_side, max_pixels, error))
        return false;
    std::unique_ptr<std::uint8_t, void (*)(void*)> rgba(WebPDecodeRGBA(data, bytes.size(), &w, &h), WebPFree);
    if (!rgba) {
        error = "WebP: corrupt picture";
        return false;
    }
    raster picture(w, h);
    over_white(rgba.get(), static_cast<std::size_t>(w) * static_cast<std::size_t>(h), picture);
    out = std::move(picture);
    return true;
}

} // namespace

bool decode_picture(const std::string& bytes, raster& out, std::string& error, int max_side,
                    long max_pixels) {
    auto starts = [&](const char* magic, std::size_t at = 0) {
        const std::size_t n = std::strlen(magic);
        return bytes.size() >= at + n && bytes.compare(at, n, magic) == 0;
    };
    if (starts("\xFF\xD8\xFF"))
        return decode_jpeg(bytes, out, error, max_side, max_pixels);
    if (starts("\x89PNG\r\n\x1a\n"))
        return decode_png(bytes, out, error, max_side, max_pixels);
    if (starts("RIFF") && starts("WEBP", 8))
        return decode_webp(bytes, out, error, max_side, max_pixels);
    error = "not a JPEG, PNG or WebP picture";
    return false;
}

raster crop_and_scale(const raster& picture, int width, int height) {
    raster out(width, height);
    if (picture.width <= 0 || picture.height <= 0 || width <= 0 || height <= 0)
        return out;
    // Cairo works on 32-bit pixels; the copy in and out is cheap next to the filtering.
    cairo_surface_t* source = cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width, picture.height);
    cairo_surface_flush(source);
    unsigned char* s = cairo_image_surface_get_data(source);
    const int s_stride = cairo_image_surface_get_stride(source);
    for (int y = 0; y < picture.height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(s + static_cast<std::ptrdiff_t>(y) * s_stride);
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = picture.at(x, y);
            row[x] =
                (static_cast<std::uint32_t>(p[0]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) | p[2];
        }
    }
    cairo_surface_mark_dirty(source);
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(target);
    // The larger of the two scales covers the whole target; the rest of the source is cut evenly.
    const double scale =
        std::max(static_cast<double>(width) / picture.width, static_cast<double>(height) / picture.height);
    cairo_translate(cr, (width - picture.width * scale) / 2, (height - picture.height * scale) / 2);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(target);
    const unsigned char* t = cairo_image_surface_get_data(target);
    const int t_stride = cairo_image_surface_get_stride(target);
    for (int y = 0; y < height; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(t + static_cast<std::ptrdiff_t>(y) * t_stride);
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = out.at(x, y);
            p[0] = static_cast<std::uint8_t>(row[x] >> 16);
            p[1] = static_cast<std::uint8_t>(row[x] >> 8);
            p[2] = static_cast<std::uint8_t>(row[x]);
        }
    }
    cairo_surface_destroy(target);
    cairo_surface_destroy(source);
    return out;
}

} // namespace server
