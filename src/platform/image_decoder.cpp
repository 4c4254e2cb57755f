#include "platform/image_decoder.h"

#include <algorithm>
#include <cairo.h>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <png.h>

namespace platform {

namespace {

// Straight (not premultiplied) RGBA, 4 bytes a pixel.
struct rgba_image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> data;
};

decode_result failure(decode_status status, std::string detail) {
    decode_result r;
    r.status = status;
    r.detail = std::move(detail);
    return r;
}

bool too_large(long w, long h) {
    return w <= 0 || h <= 0 || w > max_image_side || h > max_image_side;
}

decode_result decode_png(const std::uint8_t* data, std::size_t size, rgba_image& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size))
        return failure(decode_status::corrupt, image.message);
    if (too_large(image.width, image.height)) {
        png_image_free(&image);
        return failure(decode_status::too_large, "picture larger than the limit");
    }
    image.format = PNG_FORMAT_RGBA;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.data.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out.data.data(), 0, nullptr))
        return failure(decode_status::corrupt, image.message);
    if (image.warning_or_error != 0)
        return failure(decode_status::corrupt, std::string("warning: ") + image.message);
    return decode_result{decode_status::ok, {}, {}};
}

struct jpeg_failure {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jpeg_error_exit(j_common_ptr info) {
    auto* f = reinterpret_cast<jpeg_failure*>(info->err);
    f->mgr.format_message(info, f->message);
    std::longjmp(f->jump, 1);
}

// A warning (a truncated file, a corrupt segment) is a failure too: libjpeg would go on with grey rows.
void jpeg_message(j_common_ptr info, int level) {
    if (level < 0)
        jpeg_error_exit(info);
}

inline std::uint16_t pack565(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<std::uint16_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3));
}

// The decoder's four-byte layout that reads as one 32-bit word with red in the low byte.
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
constexpr J_COLOR_SPACE red_low_word = JCS_EXT_XBGR;
#else
constexpr J_COLOR_SPACE red_low_word = JCS_EXT_RGBX;
#endif

// One word a pixel: a loop the compiler vectorises, unlike one over bytes.
void pack_rgbx_row(const std::uint8_t* rgbx, std::uint16_t* out, int width) {
    for (int x = 0; x < width; ++x) {
        std::uint32_t v;
        std::memcpy(&v, rgbx + 4 * static_cast<std::size_t>(x), 4);
        out[x] = static_cast<std::uint16_t>(((v << 8) & 0xF800) | ((v >> 5) & 0x07E0) | ((v >> 19) & 0x001F));
    }
}

// When the decoder's own reduction already gives the size asked for (always, at the picture's own size),
// the rows go straight into 'exact' as RGB565 with an opaque alpha plane; otherwise into 'out' as RGBA for
// the filtered scaling. 'out' also holds the row buffer of the first case, so that it outlives a jump.
decode_result decode_jpeg(const std::uint8_t* data, std::size_t size, int want_w, int want_h, rgba_image& out,
                          decoded_image& exact) {
    jpeg_decompress_struct info{};
    jpeg_failure err{};
    info.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = jpeg_error_exit;
    err.mgr.emit_message = jpeg_message;
    // Everything that must survive a jump lives outside this frame's locals changed after setjmp.
    std::vector<std::uint8_t>& pixels = out.data;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        return failure(decode_status::corrupt, err.message);
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (too_large(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        return failure(decode_status::too_large, "picture larger than the limit");
    }
    // Let the decoder do the coarse part of a large reduction; the rest is filtered afterwards.
    if (want_w > 0 && want_h > 0) {
        unsigned denom = 1;
        while (denom < 8 && info.image_width / (denom * 2) >= static_cast<unsigned>(want_w) &&
               info.image_height / (denom * 2) >= static_cast<unsigned>(want_h))
            denom *= 2;
        info.scale_num = 1;
        info.scale_denom = denom;
    }
    jpeg_calc_output_dimensions(&info);
    const bool as_is = (want_w <= 0 || static_cast<unsigned>(want_w) == info.output_width) &&
                       (want_h <= 0 || static_cast<unsigned>(want_h) == info.output_height);
    // Colour pictures at their decoded size come out of the decoder as the surface's own pixels; it packs
    // them as pack565 does (no dithering, low bits dropped).
    const bool direct = as_is && (info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB);
    info.out_color_space = direct ? JCS_RGB565 : as_is ? red_low_word : JCS_EXT_RGBA;
    info.dither_mode = JDITHER_NONE;
    jpeg_start_decompress(&info);
    const int w = static_cast<int>(info.output_width), h = static_cast<int>(info.output_height);
    if (as_is) {
        exact.width = w;
        exact.height = h;
        exact.pixels.resize(static_cast<std::size_t>(w) * h);
        exact.alpha.assign(static_cast<std::size_t>(w) * h, 255);
        pixels.resize(direct ? 0 : static_cast<std::size_t>(w) * 4);
        while (info.output_scanline < info.output_height) {
            std::uint16_t* target = exact.pixels.data() + static_cast<std::size_t>(info.output_scanline) * w;
            JSAMPROW row = direct ? reinterpret_cast<JSAMPROW>(target) : pixels.data();
            jpeg_read_scanlines(&info, &row, 1);
            if (!direct)
                pack_rgbx_row(pixels.data(), target, w);
        }
    } else {
        out.width = w;
        out.height = h;
        pixels.resize(static_cast<std::size_t>(w) * h * 4);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = pixels.data() + static_cast<std::size_t>(info.output_scanline) * w * 4;
            jpeg_read_scanlines(&info, &row, 1);
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return decode_result{decode_status::ok, {}, {}};
}

void to_rgb565(const rgba_image& src, decoded_image& dst) {
    dst.width = src.width;
    dst.height = src.height;
    std::size_t n = static_cast<std::size_t>(src.width) * src.height;
    dst.pixels.resize(n);
    dst.alpha.resize(n);
    const std::uint8_t* p = src.data.data();
    std::uint16_t* pixels = dst.pixels.data();
    std::uint8_t* alpha = dst.alpha.data();
    for (std::size_t i = 0; i < n; ++i, p += 4) {
        pixels[i] = pack565(p[0], p[1], p[2]);
        alpha[i] = p[3];
    }
}

// Filtered resampling through Cairo, which works on premultiplied pixels.
void scale_to(const rgba_image& src, int w, int h, decoded_image& dst) {
    const int sstride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, src.width);
    std::vector<std::uint8_t> premultiplied(static_cast<std::size_t>(sstride) * src.height);
    for (int y = 0; y < src.height; ++y) {
        const std::uint8_t* p = src.data.data() + static_cast<std::size_t>(y) * src.width * 4;
        auto* q =
            reinterpret_cast<std::uint32_t*>(premultiplied.data() + static_cast<std::size_t>(y) * sstride);
        for (int x = 0; x < src.width; ++x, p += 4) {
            std::uint32_t a = p[3];
            std::uint32_t r = (p[0] * a + 127) / 255, g = (p[1] * a + 127) / 255, b = (p[2] * a + 127) / 255;
            q[x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    cairo_surface_t* source = cairo_image_surface_create_for_data(premultiplied.data(), CAIRO_FORMAT_ARGB32,
                                                                  src.width, src.height, sstride);
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(target);
    cairo_scale(cr, static_cast<double>(w) / src.width, static_cast<double>(h) / src.height);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(target);

    dst.width = w;
    dst.height = h;
    dst.pixels.resize(static_cast<std::size_t>(w) * h);
    dst.alpha.resize(static_cast<std::size_t>(w) * h);
    const int tstride = cairo_image_surface_get_stride(target);
    const std::uint8_t* tdata = cairo_image_surface_get_data(target);
    for (int y = 0; y < h; ++y) {
        auto* q = reinterpret_cast<const std::uint32_t*>(tdata + static_cast<std::size_t>(y) * tstride);
        for (int x = 0; x < w; ++x) {
            std::uint32_t v = q[x];
            std::uint32_t a = v >> 24;
            std::uint32_t r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF;
            if (a != 0 && a != 255) {
                r = std::min<std::uint32_t>(255, (r * 255 + a / 2) / a);
                g = std::min<std::uint32_t>(255, (g * 255 + a / 2) / a);
                b = std::min<std::uint32_t>(255, (b * 255 + a / 2) / a);
            }
            std::size_t i = static_cast<std::size_t>(y) * w + x;
            dst.pixels[i] = pack565(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                    static_cast<std::uint8_t>(b));
            dst.alpha[i] = static_cast<std::uint8_t>(a);
        }
    }
    cairo_surface_destroy(target);
    cairo_surface_destroy(source);
}

} // namespace

decode_result decode_image_buffer(const void* data, std::size_t size, int width, int height) {
    if (width < 0 || height < 0 || width > max_image_side || height > max_image_side)
        return failure(decode_status::too_large, "requested size out of range");
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    static const std::uint8_t png_signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    rgba_image rgba;
    decoded_image exact;
    decode_result r;
    if (bytes && size >= 8 && std::memcmp(bytes, png_signature, 8) == 0)
        r = decode_png(bytes, size, rgba);
    else if (bytes && size >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
        r = decode_jpeg(bytes, size, width, height, rgba, exact);
    else
        return failure(decode_status::unknown_format, "not a PNG or JPEG picture");
    if (!r.ok())
        return r;
    if (exact.width > 0) {
        r.image = std::move(exact);
        return r;
    }
    int w = width > 0 ? width : rgba.width;
    int h = height > 0 ? height : rgba.height;
    if (w == rgba.width && h == rgba.height)
        to_rgb565(rgba, r.image);
    else
        scale_to(rgba, w, h, r.image);
    return r;
}

decode_result decode_image_file(const std::string& path, int width, int height) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return failure(decode_status::unreadable, "cannot open " + path);
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        if (bytes.size() + n > max_image_file_bytes) {
            std::fclose(f);
            return failure(decode_status::too_large, "file larger than the limit");
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    bool read_error = std::ferror(f) != 0;
    std::fclose(f);
    if (read_error)
        return failure(decode_status::unreadable, "cannot read " + path);
    return decode_image_buffer(bytes.data(), bytes.size(), width, height);
}

} // namespace platform
