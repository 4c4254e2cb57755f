#include "picture_renderer.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstring>

namespace server {

const banner_text banners[4] = {
    {"zor-ad-0001", "Nordlys Coffee Roasters", "Fresh beans, roasted every morning",
     "http://nordlys-coffee.example/", 0x2B2D42, 0xEF8354},
    {"zor-ad-0002", "Tip-Line", "Seen news happen? Send us your photos", "http://zor-news.example/tipline",
     0xC41E3A, 0xFFFFFF},
    {"zor-ad-0003", "Helio Solar Panels", "Power your roof, free quote today", "http://helio-solar.example/",
     0x1B998B, 0xFDFFFC},
    {"zor-ad-0004", "Atlas Rail Passes", "Thirty countries, one ticket", "http://atlas-rail.example/",
     0x3D5A80, 0xE0FBFC},
};

namespace {

const unsigned category_colours[] = {0xC41E3A, 0x006699, 0x2E8B57, 0xE67E22,
                                     0x6F42C1, 0xD63384, 0x1B998B, 0x8A5A44};

struct tint {
    const char* scene;
    double r, g, b, amount;
};
const tint tints[] = {{"night", 0.05, 0.07, 0.2, 0.55},   {"snow", 0.95, 0.97, 1.0, 0.45},
                      {"desert", 0.93, 0.75, 0.45, 0.3},  {"forest", 0.15, 0.45, 0.2, 0.25},
                      {"coast", 0.2, 0.55, 0.75, 0.2},    {"harbour", 0.25, 0.45, 0.65, 0.2},
                      {"mountains", 0.6, 0.55, 0.5, 0.2}, {"space", 0.02, 0.02, 0.08, 0.35},
                      {"stage", 0.45, 0.1, 0.35, 0.25},   {"laboratory", 0.7, 0.85, 0.95, 0.2}};

void put(raster& r, int x, int y, unsigned colour, double alpha) {
    if (x < 0 || y < 0 || x >= r.width || y >= r.height)
        return;
    std::uint8_t* p = r.at(x, y);
    const unsigned c[3] = {(colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF};
    for (int k = 0; k < 3; ++k)
        p[k] = static_cast<std::uint8_t>(std::lround(p[k] * (1 - alpha) + c[k] * alpha));
}

raster from_cairo(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    raster out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t v;
            std::memcpy(&v, data + y * stride + x * 4, 4);
            std::uint8_t* p = out.at(x, y);
            p[0] = (v >> 16) & 0xFF, p[1] = (v >> 8) & 0xFF, p[2] = v & 0xFF;
        }
    return out;
}

void set_colour(cairo_t* cr, unsigned c, double alpha = 1.0) {
    cairo_set_source_rgba(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0,
                          alpha);
}

} // namespace

raster picture_renderer::news_picture(int width, int height, double lat, double lon, const std::string& scene,
                                      unsigned colour_index) const {
    raster out(width, height);
    // About 16 degrees of latitude tall, as wide as the picture's shape allows at that latitude.
    const double span_lat = 16.0;
    const double span_lon = span_lat * width / height / std::max(0.2, std::cos(lat * M_PI / 180.0));
    const tint* t = nullptr;
    for (const tint& each : tints)
        if (scene == each.scene)
            t = &each;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double plat = lat + span_lat * (0.5 - (y + 0.5) / height);
            const double plon = lon + span_lon * ((x + 0.5) / width - 0.5);
            std::uint8_t rgb[3];
            world.sample(plat, plon, rgb);
            // A soft vignette keeps the eye on the middle.
            const double dx = (x + 0.5) / width - 0.5, dy = (y + 0.5) / height - 0.5;
            const double shade = 1.0 - 0.45 * (dx * dx + dy * dy);
            std::uint8_t* p = out.at(x, y);
            for (int k = 0; k < 3; ++k) {
                double v = rgb[k] * shade;
                if (t) {
                    const double target = (k == 0 ? t->r : k == 1 ? t->g : t->b) * 255.0;
                    v = v * (1 - t->amount) + target * t->amount;
                }
                p[k] = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
            }
        }
    }
    // The place: a white ring around a dot of the category's colour.
    const unsigned colour =
        category_colours[colour_index % (sizeof category_colours / sizeof *category_colours)];
    const double radius = std::max(3.0, std::min(width, height) / 14.0);
    const int cx = width / 2, cy = height / 2;
    for (int y = static_cast<int>(cy - radius - 2); y <= cy + radius + 2; ++y)
        for (int x = static_cast<int>(cx - radius - 2); x <= cx + radius + 2; ++x) {
            const double d = std::hypot(x - cx, y - cy);
            if (d <= radius * 0.45)
                put(out, x, y, colour, 1.0);
            else if (d >= radius * 0.8 && d <= radius)
                put(out, x, y, 0xFFFFFF, 0.9);
        }
    const int strip = std::max(2, height / 30);
    for (int y = height - strip; y < height; ++y)
        for (int x = 0; x < width; ++x)
            put(out, x, y, colour, 1.0);
    return out;
}

raster picture_renderer::banner(int width, int height, int index) const {
    const banner_text& b = banners[index % 4];
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    set_colour(cr, b.background);
    cairo_paint(cr);
    // A band of the accent colour at the left, like a label.
    set_colour(cr, b.accent);
    cairo_rectangle(cr, 0, 0, std::max(6, width / 60), height);
    cairo_fill(cr);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    const double title_size = std::max(8.0, height * 0.36);
    cairo_set_font_size(cr, title_size);
    set_colour(cr, 0xFFFFFF);
    const double left = std::max(12, width / 25);
    cairo_move_to(cr, left, height * 0.46);
    cairo_show_text(cr, b.title);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, std::max(6.0, height * 0.24));
    set_colour(cr, b.accent);
    cairo_move_to(cr, left, height * 0.82);
    cairo_show_text(cr, b.line);
    cairo_destroy(cr);
    raster out = from_cairo(surface);
    cairo_surface_destroy(surface);
    return out;
}

raster picture_renderer::map(const map_frame& frame) const {
    const int w = frame.picture_width, h = frame.picture_height();
    const double degrees_per_pixel = frame.distance / frame.picture_width / 111.0;
    raster out(w, h);
    for (int y = 0; y < h; ++y) {
        // Picture rows go down, the offsets of the maps go north.
        const double row = h / 2.0 - (y + 0.5);
        // The degrees of latitude a row spans: the map's pixels are not square in degrees.
        double lat_step = 0, above, below, unused;
        if (unproject(frame, 0, row, above, unused) && unproject(frame, 0, row - 1, below, unused))
            lat_step = std::fabs(above - below);
        for (int x = 0; x < w; ++x) {
            double lat, lon;
            std::uint8_t* p = out.at(x, y);
            if (!unproject(frame, x + 0.5 - w / 2.0, row, lat, lon)) {
                p[0] = 0xDA, p[1] = 0xDA, p[2] = 0xDA;
                continue;
            }
            if (world.width() > 0 && degrees_per_pixel < 360.0 / world.width())
                world.sample_coast(lat, lon, degrees_per_pixel * world.width() / 360.0, p);
            else
                world.sample(lat, lon, p);
            // A faint graticule every ten degrees, one pixel wide and smoothed, so that it reads as a line at
            // any scale: the distance to it is measured in pixels.
            double cover = 0;
            const double glat = std::fabs(std::remainder(lat, 10.0)),
                         glon = std::fabs(std::remainder(lon, 10.0));
            if (lat_step > 0)
                cover = 1.0 - glat / lat_step;
            double next_lat, next_lon;
            if (glon < 1.0 && unproject(frame, x + 1.5 - w / 2.0, row, next_lat, next_lon)) {
                const double lon_step = std::fabs(std::remainder(next_lon - lon, 360.0));
                if (lon_step > 0)
                    cover = std::max(cover, 1.0 - glon / lon_step);
            }
            if (cover > 0)
                for (int k = 0; k < 3; ++k)
                    p[k] = static_cast<std::uint8_t>(p[k] + (255 - p[k]) * cover / 4 + 0.5);
        }
    }
    return out;
}

} // namespace server
