// The weather part's pictures: the five globe strips and the five city strips of the weather page, the
// globe's shade and its arrows' companions, the map shadow, the info panel and the continent silhouette.

#include "catalogue.h"
#include "continents.h"
#include "earth_texture.h"
#include "earth_views.h"
#include "inputs.h"
#include "palette.h"
#include "shapes.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace assets {

namespace {

// Each set is one 500 x 480 picture cut into five rows of 96 pixels; the weather page shows them centred in
// its five rows (the portrait panel shows the middle 180 pixels).
constexpr int strip_width = 500;
constexpr int strip_height = 96;
constexpr int strips = 5;

// A small deterministic generator for stars and windows.
struct sequence {
    std::uint32_t state;
    std::uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    double unit() { return (next() & 0xFFFF) / 65536.0; }
};

void space(cairo_t* cr, const rgb_image& earth) {
    const int h = strip_height * strips;
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgb(p, 0, 0x08 / 255.0, 0x12 / 255.0, 0x2A / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, 0x14 / 255.0, 0x33 / 255.0, 0x60 / 255.0);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    sequence stars{20240601u};
    for (int i = 0; i < 140; ++i) {
        const double x = stars.unit() * strip_width, y = stars.unit() * h, r = 0.5 + stars.unit() * 0.9;
        set_colour(cr, 0xFFFFFF, 0.35 + stars.unit() * 0.5);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    // Orbits round the middle of the whole picture tie the five rows together.
    cairo_set_line_width(cr, 1);
    for (int i = 0; i < 4; ++i) {
        set_colour(cr, 0x7FB8FF, 0.28 - i * 0.05);
        cairo_save(cr);
        cairo_translate(cr, strip_width / 2.0, h / 2.0);
        cairo_scale(cr, 1.0, 0.92);
        cairo_arc(cr, 0, 0, 120 + 55 * i, 0, 2 * M_PI);
        cairo_restore(cr);
        cairo_stroke(cr);
    }
    set_colour(cr, 0x7FB8FF, 0.35);
    cairo_rectangle(cr, strip_width / 2 - 0.5, 0, 1, h);
    cairo_fill(cr);
    // The earth from five angles, a fifth of a turn apart, one in each row.
    const double longitudes[strips] = {-80, -8, 64, 136, 208};
    for (int i = 0; i < strips; ++i) {
        const double cy = strip_height * i + strip_height / 2.0;
        set_colour(cr, 0x7FB8FF, 0.25);
        cairo_arc(cr, strip_width / 2.0, cy, 43.5, 0, 2 * M_PI);
        cairo_fill(cr);
        paint_globe(cr, earth, strip_width / 2.0, cy, 41, longitudes[i], 18);
    }
}

// A dusk skyline round a broadcast tower, with lit windows and a river in front.
void skyline(cairo_t* cr) {
    const int w = strip_width, h = strip_height * strips;
    const double horizon = 396;
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, horizon);
    cairo_pattern_add_color_stop_rgb(p, 0, 0x1B / 255.0, 0x2F / 255.0, 0x5C / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 0.55, 0x5B / 255.0, 0x5A / 255.0, 0x8E / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 0.85, 0xE0 / 255.0, 0x7A / 255.0, 0x6A / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, 0xF6 / 255.0, 0xB2 / 255.0, 0x6B / 255.0);
    cairo_set_source(cr, p);
    cairo_rectangle(cr, 0, 0, w, horizon);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Setting sun and a few stars high up.
    set_colour(cr, 0xFFD98A, 0.9);
    cairo_arc(cr, 372, horizon - 30, 30, 0, 2 * M_PI);
    cairo_fill(cr);
    sequence stars{77u};
    for (int i = 0; i < 40; ++i) {
        set_colour(cr, 0xFFFFFF, 0.3 + stars.unit() * 0.5);
        cairo_arc(cr, stars.unit() * w, stars.unit() * 170, 0.6 + stars.unit() * 0.6, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    // A young moon high up on the left.
    cairo_push_group(cr);
    set_colour(cr, 0xF4E7A1);
    cairo_arc(cr, 96, 44, 17, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_arc(cr, 104, 38, 15, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pop_group_to_source(cr);
    cairo_paint(cr);
    // Flat clouds.
    cloud(cr, 40, 110, 120, 40, 0xFFFFFF, 0xFFFFFF, 0);
    cloud(cr, 330, 190, 100, 32, 0xF3D3E0, 0xF3D3E0, 0);
    // Three layers of buildings, far to near; windows lit at random but the same on every build.
    struct layer {
        std::uint32_t rgb;
        double base_height, spread;
        int seed;
        double window_chance;
    };
    const layer layers[] = {
        {0x6B6F9C, 90, 70, 5, 0.0}, {0x3E4470, 60, 110, 11, 0.25}, {0x232846, 40, 120, 23, 0.45}};
    for (const layer& l : layers) {
        sequence rnd{static_cast<std::uint32_t>(l.seed)};
        double x = -10;
        while (x < w) {
            const double bw = 26 + rnd.unit() * 34;
            const double bh = l.base_height + rnd.unit() * l.spread;
            const double top = horizon - bh;
            set_colour(cr, l.rgb);
            cairo_rectangle(cr, std::floor(x), std::floor(top), std::ceil(bw), horizon - std::floor(top));
            cairo_fill(cr);
            if (l.window_chance > 0)
                for (double wy = top + 8; wy < horizon - 10; wy += 10)
                    for (double wx = x + 5; wx < x + bw - 7; wx += 8)
                        if (rnd.unit() < l.window_chance) {
                            set_colour(cr, 0xFFD27A, 0.55 + rnd.unit() * 0.4);
                            cairo_rectangle(cr, std::floor(wx), std::floor(wy), 3, 4);
                            cairo_fill(cr);
                        }
            x += bw + 2 + rnd.unit() * 6;
        }
    }
    // The broadcast tower in the middle, red light on top.
    const double cx = w / 2.0;
    set_colour(cr, 0x1A1E36);
    cairo_move_to(cr, cx - 16, horizon);
    cairo_line_to(cr, cx - 5, 150);
    cairo_line_to(cr, cx + 5, 150);
    cairo_line_to(cr, cx + 16, horizon);
    cairo_close_path(cr);
    cairo_fill(cr);
    rounded_rect(cr, cx - 13, 200, 26, 18, 4);
    cairo_fill(cr);
    cairo_rectangle(cr, cx - 1.5, 70, 3, 82);
    cairo_fill(cr);
    set_colour(cr, 0xFFD27A, 0.9);
    cairo_rectangle(cr, cx - 9, 206, 18, 3);
    cairo_fill(cr);
    set_colour(cr, palette::news_red);
    cairo_arc(cr, cx, 70, 4, 0, 2 * M_PI);
    cairo_fill(cr);
    set_colour(cr, palette::news_red, 0.35);
    cairo_arc(cr, cx, 70, 9, 0, 2 * M_PI);
    cairo_fill(cr);
    // The river: dark water with the lights reflected as dashes.
    cairo_pattern_t* water = cairo_pattern_create_linear(0, horizon, 0, h);
    cairo_pattern_add_color_stop_rgb(water, 0, 0x2A / 255.0, 0x2F / 255.0, 0x55 / 255.0);
    cairo_pattern_add_color_stop_rgb(water, 1, 0x12 / 255.0, 0x16 / 255.0, 0x2E / 255.0);
    cairo_set_source(cr, water);
    cairo_rectangle(cr, 0, horizon, w, h - horizon);
    cairo_fill(cr);
    cairo_pattern_destroy(water);
    crisp_hline(cr, 0, w, static_cast<int>(horizon), 0x0F1226);
    sequence ripples{91u};
    for (int i = 0; i < 70; ++i) {
        const double x = ripples.unit() * w, y = horizon + 6 + ripples.unit() * (h - horizon - 10);
        const double len = 6 + ripples.unit() * 18;
        set_colour(cr, 0xFFD27A, 0.15 + ripples.unit() * 0.3);
        cairo_rectangle(cr, std::floor(x), std::floor(y), std::floor(len), 1);
        cairo_fill(cr);
    }
    set_colour(cr, 0xFFD98A, 0.45);
    for (int i = 0; i < 6; ++i) {
        cairo_rectangle(cr, 372 - 24 + i * 3, horizon + 6 + i * 8, 48 - i * 6, 2);
        cairo_fill(cr);
    }
}

painter strip_of(int index, std::function<void(cairo_t*)> whole) {
    return [=](cairo_t* cr, int, int) {
        cairo_translate(cr, 0, -index * strip_height);
        whole(cr);
    };
}

// The globe's frame: a soft dark ring round the globe's edge, heavier to the lower right, transparent over
// the globe. The globe page scales the picture to 460 x 469 in portrait, where the globe's edge is a circle
// of radius 98 round (98, 100) of the picture, and to 318 x 310 in landscape, where it is a circle of about
// 90 round (90, 100); the ring is centred between the two and wide enough for both.
void earth_shade(cairo_t* cr, int w, int h) {
    const double cx = 94, cy = 100.5, ring = 95, spread = 7.5;
    paint_pixels(cr, 0, 0, w, h, [&](double x, double y) {
        const double dx = x - cx, dy = y - cy;
        const double d = std::hypot(dx, dy);
        const double band = std::exp(-std::pow((d - ring) / spread, 2));
        // Light from the upper left: the lower right side of the ring is darker and a little wider.
        const double side = d > 0 ? (dx * 0.6 + dy * 0.8) / d : 0;
        const double outer =
            d > ring ? std::exp(-std::pow((d - ring) / (spread * (1.6 + 0.8 * side)), 2)) : 0;
        const double a = 0.34 * (1 + 0.45 * side) * std::max(band, outer * 0.8);
        // Nothing at the picture's edges, so the frame never ends in a hard line.
        const double edge = std::min({x, y, w - x, h - y});
        const double fade = std::clamp(edge / 4.0, 0.0, 1.0);
        return rgba{0x0A / 255.0, 0x17 / 255.0, 0x30 / 255.0, std::clamp(a, 0.0, 1.0) * fade};
    });
}

void weather_shadow(cairo_t* cr, int w, int h) {
    soft_ellipse(cr, w / 2.0, h / 2.0, w / 2.0, h / 2.0, 0x000000, 0.35);
}

void weather_info_panel(cairo_t* cr, int w, int h) {
    set_colour(cr, 0x000000, 0.12);
    rounded_rect(cr, 1, 2, w - 2, h - 2, 10);
    cairo_fill(cr);
    set_colour(cr, palette::card, 0.94);
    rounded_rect(cr, 0, 0, w - 2, h - 3, 10);
    cairo_fill(cr);
    cairo_save(cr);
    rounded_rect(cr, 0, 0, w - 2, h - 3, 10);
    cairo_clip(cr);
    set_colour(cr, palette::weather_cyan);
    cairo_rectangle(cr, 0, 0, w, 6);
    cairo_fill(cr);
    cairo_restore(cr);
}

// Asia, the first region of the globe, as a red silhouette: the texture's Asian texels, their coasts drawn
// from the full Blue Marble picture.
void continent_silhouette(cairo_t* cr, const inputs& in, int w, int h) {
    const rgb_image& earth = in.earth;
    const region_box b = box_of(asia);
    paint_pixels(cr, 0, 0, w, h, [&](double x, double y) {
        int land = 0;
        for (int sy = 0; sy < 3; ++sy)
            for (int sx = 0; sx < 3; ++sx) {
                const double tx = b.x + (x - 0.5 + (sx + 0.5) / 3) * b.width / w;
                const double ty = b.y + b.height - (y - 0.5 + (sy + 0.5) / 3) * b.height / h;
                const double lon = -180.0 + tx * 360.0 / texture_width;
                const double lat = -90.0 + ty * 180.0 / texture_height;
                const int texel_x = std::clamp(static_cast<int>(tx), 0, texture_width - 1);
                const int texel_y = std::clamp(static_cast<int>(ty), 0, texture_height - 1);
                const std::uint8_t mask =
                    in.texture.rgba[(static_cast<std::size_t>(texel_y) * texture_width + texel_x) * 4 + 3];
                const rgba c = earth_colour(earth, lon, lat);
                const auto q = [](double v) { return static_cast<std::uint8_t>(std::lround(v * 255)); };
                if ((mask >> 5) == asia && !looks_like_sea(q(c.r), q(c.g), q(c.b)))
                    ++land;
            }
        return rgba{0xDB / 255.0, 0x3C / 255.0, 0x3B / 255.0, land / 9.0};
    });
}

} // namespace

void add_world_pictures(catalogue& c, const inputs& in) {
    const rgb_image& earth = in.earth;
    for (int i = 0; i < strips; ++i)
        c.add("globe_" + std::to_string(i + 1), "weather/globe_" + std::to_string(i + 1) + ".png",
              strip_width, strip_height, strip_of(i, [&earth](cairo_t* cr) { space(cr, earth); }));
    for (int i = 0; i < strips; ++i)
        c.add("city_" + std::to_string(i + 1), "weather/city_" + std::to_string(i + 1) + ".png", strip_width,
              strip_height, strip_of(i, skyline));
    c.add("earth_shade", "EarthShade210x214.png", 210, 214, earth_shade);
    c.add("weather_shadow", "weather_shadow.png", 48, 12, weather_shadow);
    c.add("weatherinfobg", "weather/weatherinfobg.d.png", 460, 120, weather_info_panel);
    c.add("continent_1", "continent_1.png", 234, 131,
          [&in](cairo_t* cr, int w, int h) { continent_silhouette(cr, in, w, h); });
}

} // namespace assets
