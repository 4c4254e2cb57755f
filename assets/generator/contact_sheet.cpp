#include "contact_sheet.h"

#include "canvas.h"
#include "continents.h"
#include "earth_views.h"
#include "palette.h"
#include "picture_files.h"
#include "shapes.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace assets {

namespace {

constexpr int sheet_width = 1680;
constexpr int margin = 16;
constexpr int label_height = 18;

constexpr int small_side = 64; // pictures this small are shown again four times larger
constexpr int zoom = 4;

struct cell {
    std::string label;
    int width, height;
    std::shared_ptr<canvas> picture;
    int scale = 1;
};

void checkerboard(cairo_t* cr, int x, int y, int w, int h) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    for (int ty = 0; ty < h; ty += 8)
        for (int tx = 0; tx < w; tx += 8) {
            set_colour(cr, ((tx + ty) / 8) % 2 ? 0xCFCFCF : 0xF7F7F7);
            cairo_rectangle(cr, x + tx, y + ty, 8, 8);
            cairo_fill(cr);
        }
    cairo_restore(cr);
}

std::shared_ptr<canvas> render(const picture_spec& p) {
    auto c = std::make_shared<canvas>(p.width, p.height);
    p.paint(c->cr(), p.width, p.height);
    return c;
}

// The texture north up; with show_regions each region's land is tinted with its own colour, else every
// region is marked (darkened) as the globe does it.
std::shared_ptr<canvas> texture_view(const earth_texture& t, bool show_regions) {
    auto c = std::make_shared<canvas>(texture_width, texture_height);
    const std::uint32_t tints[7] = {0, 0xE6194B, 0x3CB44B, 0xFFE119, 0x4363D8, 0xF58231, 0x911EB4};
    cairo_surface_t* s = c->surface();
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < texture_height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        const int ty = texture_height - 1 - y;
        for (int x = 0; x < texture_width; ++x) {
            const std::uint8_t* p = &t.rgba[(static_cast<std::size_t>(ty) * texture_width + x) * 4];
            const int region = p[3] >> 5, strength = p[3] & 31;
            int rgb[3] = {p[0], p[1], p[2]};
            if (region != 0) {
                if (show_regions) {
                    const std::uint32_t tint = tints[region];
                    for (int k = 0; k < 3; ++k)
                        rgb[k] = (rgb[k] + static_cast<int>((tint >> (16 - 8 * k)) & 0xFF)) / 2;
                } else {
                    for (int k = 0; k < 3; ++k)
                        rgb[k] = (rgb[k] - 4 * strength) & 0xFF;
                }
            }
            row[x] = 0xFF000000u | (rgb[0] << 16) | (rgb[1] << 8) | rgb[2];
        }
    }
    cairo_surface_mark_dirty(s);
    if (show_regions) {
        cairo_t* cr = c->cr();
        cairo_set_line_width(cr, 1);
        for (int r = 1; r <= 6; ++r) {
            const region_box b = box_of(r);
            set_colour(cr, tints[r]);
            cairo_rectangle(cr, b.x + 0.5, texture_height - b.y - b.height + 0.5,
                            std::min(b.width, 511 - b.x) - 1, b.height - 1);
            cairo_stroke(cr);
        }
    }
    return c;
}

const picture_spec* find(const catalogue& pictures, const std::string& key) {
    for (const catalogue_entry& e : pictures.entries())
        if (e.key == key)
            return e.portrait ? e.portrait : e.landscape;
    return nullptr;
}

// The world view as the globe page lays it out (shade and arrow positions of that page), with the globe
// drawn where the page's projection puts it, to judge how the shade frames it.
std::shared_ptr<canvas> globe_page(const catalogue& pictures, const rgb_image& earth, bool portrait) {
    const int w = portrait ? 480 : 800, h = portrait ? 748 : 428;
    canvas page(w, h);
    cairo_t* cr = page.cr();
    fill_all(cr, 0xD6D3D6);
    if (portrait)
        paint_globe(cr, earth, 240, 400, 215, 20, 10);
    else
        paint_globe(cr, earth, 576.7, 220.8, 133, 20, 10);
    auto place = [&](const std::string& key, double x, double y, double sw, double sh) {
        const picture_spec* p = find(pictures, key);
        canvas pic(p->width, p->height);
        p->paint(pic.cr(), p->width, p->height);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        if (sw > 0)
            cairo_scale(cr, sw / p->width, sh / p->height);
        cairo_set_source_surface(cr, pic.surface(), 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
    };
    if (portrait) {
        place("earth_shade", 25, 180, 460, 469);
        place("globe_arrow_up", 200, 165, 0, 0);
        place("globe_arrow_down", 200, 625, 0, 0);
        place("globe_arrow_left", 7, 365, 0, 0);
        place("globe_arrow_right", 460, 365, 0, 0);
    } else {
        place("earth_shade", 440, 75, 318, 310);
        place("globe_arrow_up", 550, 60, 0, 0);
        place("globe_arrow_down", 550, 365, 0, 0);
        place("globe_arrow_left", 420, 185, 0, 0);
        place("globe_arrow_right", 745, 185, 0, 0);
    }
    // Only the globe's part of the page.
    const int x0 = portrait ? 0 : 400, y0 = portrait ? 150 : 40, cw = portrait ? 480 : 400,
              ch = portrait ? 510 : 360;
    auto out = std::make_shared<canvas>(cw, ch);
    cairo_set_source_surface(out->cr(), page.surface(), -x0, -y0);
    cairo_paint(out->cr());
    return out;
}

} // namespace

void write_contact_sheet(const std::string& path, const catalogue& pictures, const earth_texture& texture,
                         const rgb_image& earth, const text_painter& text) {
    std::vector<cell> cells;
    for (const catalogue_entry& e : pictures.entries()) {
        auto size = [](const picture_spec* p) {
            return std::to_string(p->width) + "x" + std::to_string(p->height);
        };
        if (e.portrait && e.portrait == e.landscape) {
            cells.push_back({e.key + "  " + size(e.portrait), e.portrait->width, e.portrait->height,
                             render(*e.portrait)});
            if (std::max(e.portrait->width, e.portrait->height) <= small_side)
                cells.push_back(
                    {"x4", e.portrait->width * zoom, e.portrait->height * zoom, cells.back().picture, zoom});
            continue;
        }
        if (e.portrait)
            cells.push_back({e.key + " (portrait) " + size(e.portrait), e.portrait->width, e.portrait->height,
                             render(*e.portrait)});
        if (e.landscape)
            cells.push_back({e.key + " (landscape) " + size(e.landscape), e.landscape->width,
                             e.landscape->height, render(*e.landscape)});
    }
    auto portrait_globe = globe_page(pictures, earth, true);
    cells.push_back(
        {"globe page preview (portrait)", portrait_globe->width(), portrait_globe->height(), portrait_globe});
    auto landscape_globe = globe_page(pictures, earth, false);
    cells.push_back({"globe page preview (landscape)", landscape_globe->width(), landscape_globe->height(),
                     landscape_globe});
    cells.push_back({"earth texture (north up), every region marked as the globe marks it", texture_width,
                     texture_height, texture_view(texture, false)});
    cells.push_back({"regions: 1 Asia, 2 N. America, 3 S. America, 4 Oceania, 5 Africa, 6 Europe",
                     texture_width, texture_height, texture_view(texture, true)});

    // Flow the cells into rows.
    struct placed {
        int x, y;
    };
    std::vector<placed> at(cells.size());
    int x = margin, y = margin, row_height = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const int cw = std::max(cells[i].width, text.width(cells[i].label, 11) + 4);
        if (x + cw > sheet_width - margin && x > margin) {
            x = margin;
            y += row_height + margin;
            row_height = 0;
        }
        at[i] = {x, y};
        x += cw + margin;
        row_height = std::max(row_height, cells[i].height + label_height);
    }
    const int sheet_height = y + row_height + margin;

    canvas sheet(sheet_width, sheet_height);
    cairo_t* cr = sheet.cr();
    fill_all(cr, 0xFFFFFF);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const cell& c = cells[i];
        checkerboard(cr, at[i].x, at[i].y, c.width, c.height);
        cairo_save(cr);
        cairo_translate(cr, at[i].x, at[i].y);
        cairo_scale(cr, c.scale, c.scale);
        cairo_set_source_surface(cr, c.picture->surface(), 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
        const int lw = text.width(c.label, 11) + 4;
        text.draw_centred(cr, c.label, box{double(at[i].x), double(at[i].y + c.height + 2), double(lw), 14},
                          11, 0x202020);
    }
    write_png(path, sheet.pixels());
}

} // namespace assets
