#include "platform/png_writer.h"

#include <cstdio>
#include <png.h>
#include <vector>

namespace platform {

bool write_png(const std::string& path, const screen_image& image) {
    if (image.width <= 0 || image.height <= 0)
        return false;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_byte> row(static_cast<std::size_t>(image.width) * 3);
    bool ok = false;
    if (png && info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, f);
        png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < image.height; ++y) {
            const std::uint16_t* src = image.pixels.data() + static_cast<std::ptrdiff_t>(y) * image.width;
            for (int x = 0; x < image.width; ++x)
                rgb565_to_rgb888(src[x], row[3 * x], row[3 * x + 1], row[3 * x + 2]);
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    ok = (std::fclose(f) == 0) && ok;
    if (!ok)
        std::remove(path.c_str());
    return ok;
}

} // namespace platform
