#include "picture_files.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <png.h>
#include <stdexcept>
#include <sys/stat.h>

namespace assets {

void write_png(const std::string& path, const rgba_image& image) {
    make_parent_folders(path);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        throw std::runtime_error("cannot write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool alpha = !image.opaque();
    const int channels = alpha ? 4 : 3;
    std::vector<png_byte> row(static_cast<std::size_t>(image.width) * channels);
    bool ok = false;
    if (png && info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, f);
        png_set_compression_level(png, 9);
        png_set_IHDR(png, info, image.width, image.height, 8,
                     alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < image.height; ++y) {
            const std::uint8_t* src = &image.rgba[static_cast<std::size_t>(y) * image.width * 4];
            for (int x = 0; x < image.width; ++x)
                for (int c = 0; c < channels; ++c)
                    row[static_cast<std::size_t>(x) * channels + c] = src[x * 4 + c];
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    ok = (std::fclose(f) == 0) && ok;
    if (!ok)
        throw std::runtime_error("cannot write " + path);
}

namespace {

struct jpeg_failure {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void on_jpeg_error(j_common_ptr info) {
    std::longjmp(reinterpret_cast<jpeg_failure*>(info->err)->jump, 1);
}

} // namespace

rgb_image read_jpeg(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        throw std::runtime_error("cannot open " + path);
    jpeg_decompress_struct info;
    jpeg_failure failure;
    info.err = jpeg_std_error(&failure.base);
    failure.base.error_exit = on_jpeg_error;
    rgb_image out;
    if (setjmp(failure.jump)) {
        jpeg_destroy_decompress(&info);
        std::fclose(f);
        throw std::runtime_error("cannot decode " + path);
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, f);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    // The integer transform gives the same bytes whatever SIMD the machine offers.
    info.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&info);
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &out.rgb[static_cast<std::size_t>(info.output_scanline) * out.width * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(f);
    return out;
}

void make_parent_folders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        ::mkdir(path.substr(0, slash).c_str(), 0755);
}

} // namespace assets
