// zor-look-sheet: lays screenshots out on one PNG, each scaled down with its name under it, in the order
// given, left to right and row by row, for reviewers who want every page at a glance.
//
//   zor-look-sheet --font TTF --out PNG [--title TEXT] [--scale S] [--width PIXELS] SHOT.png...

#include "canvas.h"
#include "picture_files.h"
#include "text_painter.h"

#include <algorithm>
#include <cairo.h>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct options {
    std::string font;
    std::string out;
    std::string title;
    double scale = 0.4;
    int width = 2200;
    std::vector<std::string> shots;
};

bool parse(int argc, char** argv, options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "--font" && has_value)
            o.font = argv[++i];
        else if (arg == "--out" && has_value)
            o.out = argv[++i];
        else if (arg == "--title" && has_value)
            o.title = argv[++i];
        else if (arg == "--scale" && has_value)
            o.scale = std::atof(argv[++i]);
        else if (arg == "--width" && has_value)
            o.width = std::atoi(argv[++i]);
        else if (arg.rfind("--", 0) == 0)
            return false;
        else
            o.shots.push_back(arg);
    }
    return !o.font.empty() && !o.out.empty() && !o.shots.empty() && o.scale > 0 && o.scale <= 1 &&
           o.width > 0;
}

std::string name_of(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0)
        name.resize(name.size() - 4);
    return name;
}

struct tile {
    cairo_surface_t* shot;
    std::string name;
    int x = 0, y = 0, w = 0, h = 0;
};

constexpr int margin = 16;
constexpr int label_height = 26;
constexpr int title_height = 44;

} // namespace

int main(int argc, char** argv) {
    options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: zor-look-sheet --font TTF --out PNG [--title TEXT] [--scale S] "
                             "[--width PIXELS] SHOT.png...\n");
        return 2;
    }
    std::vector<tile> tiles;
    int status = 0;
    try {
        for (const std::string& path : o.shots) {
            cairo_surface_t* shot = cairo_image_surface_create_from_png(path.c_str());
            if (cairo_surface_status(shot) != CAIRO_STATUS_SUCCESS) {
                std::fprintf(stderr, "zor-look-sheet: cannot read %s: %s\n", path.c_str(),
                             cairo_status_to_string(cairo_surface_status(shot)));
                cairo_surface_destroy(shot);
                status = 1;
                continue;
            }
            tile t{shot, name_of(path)};
            t.w = static_cast<int>(cairo_image_surface_get_width(shot) * o.scale + 0.5);
            t.h = static_cast<int>(cairo_image_surface_get_height(shot) * o.scale + 0.5);
            tiles.push_back(t);
        }
        if (tiles.empty())
            throw std::runtime_error("no screenshot could be read");

        // Rows fill up to the width; a row is as high as its highest tile.
        const int top = o.title.empty() ? margin : title_height + margin;
        int x = margin, y = top, row_height = 0, sheet_width = 0;
        for (tile& t : tiles) {
            if (x > margin && x + t.w + margin > o.width) {
                x = margin;
                y += row_height + label_height + margin;
                row_height = 0;
            }
            t.x = x;
            t.y = y;
            x += t.w + margin;
            row_height = std::max(row_height, t.h);
            sheet_width = std::max(sheet_width, x);
        }
        const int sheet_height = y + row_height + label_height + margin;

        assets::text_painter text(o.font);
        assets::canvas sheet(sheet_width, sheet_height);
        cairo_t* cr = sheet.cr();
        cairo_set_source_rgb(cr, 0.16, 0.17, 0.19);
        cairo_paint(cr);
        if (!o.title.empty())
            text.draw_centred(cr, o.title, {0, 0, static_cast<double>(sheet_width), title_height}, 24,
                              0xF2F2F2);
        for (const tile& t : tiles) {
            cairo_save(cr);
            cairo_translate(cr, t.x, t.y);
            cairo_scale(cr, o.scale, o.scale);
            cairo_set_source_surface(cr, t.shot, 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
            cairo_paint(cr);
            cairo_restore(cr);
            text.draw_centred(cr, t.name,
                              {static_cast<double>(t.x), static_cast<double>(t.y + t.h),
                               static_cast<double>(t.w), label_height},
                              14, 0xE0E0E0);
        }
        assets::make_parent_folders(o.out);
        assets::write_png(o.out, sheet.pixels());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zor-look-sheet: %s\n", e.what());
        status = 1;
    }
    for (const tile& t : tiles)
        cairo_surface_destroy(t.shot);
    return status;
}
