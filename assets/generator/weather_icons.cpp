// The weather-state pictograms "state_<code>", 48 x 48 with alpha. assets/README.md lists what each code
// means; the content server sends the same codes.

#include "catalogue.h"
#include "inputs.h"
#include "palette.h"
#include "shapes.h"

#include <cmath>
#include <string>

namespace assets {

namespace {

constexpr int icon = 48;

void sun(cairo_t* cr, double cx, double cy, double r) {
    set_colour(cr, palette::sun_yellow);
    cairo_set_line_width(cr, std::max(2.0, r / 4.5));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        cairo_move_to(cr, cx + std::cos(a) * r * 1.35, cy + std::sin(a) * r * 1.35);
        cairo_line_to(cr, cx + std::cos(a) * r * 1.75, cy + std::sin(a) * r * 1.75);
    }
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_fill_preserve(cr);
    set_colour(cr, palette::sun_orange);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// A crescent: the disc less a shifted disc; the bite comes from the upper right, or from the lower left
// when a cloud covers that side.
void moon(cairo_t* cr, double cx, double cy, double r, bool bite_lower_left = false) {
    cairo_save(cr);
    cairo_push_group(cr);
    set_colour(cr, palette::sun_orange);
    cairo_arc(cr, cx, cy, r + 1, 0, 2 * M_PI);
    cairo_fill(cr);
    set_colour(cr, palette::moon_cream);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    const double bx = bite_lower_left ? -0.55 : 0.55, by = bite_lower_left ? 0.45 : -0.45;
    cairo_arc(cr, cx + r * bx, cy + r * by, r * 0.85, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pop_group_to_source(cr);
    cairo_paint(cr);
    cairo_restore(cr);
}

void star(cairo_t* cr, double cx, double cy, double r) {
    set_colour(cr, palette::moon_cream);
    cairo_move_to(cr, cx, cy - r);
    cairo_line_to(cr, cx + r * 0.3, cy - r * 0.3);
    cairo_line_to(cr, cx + r, cy);
    cairo_line_to(cr, cx + r * 0.3, cy + r * 0.3);
    cairo_line_to(cr, cx, cy + r);
    cairo_line_to(cr, cx - r * 0.3, cy + r * 0.3);
    cairo_line_to(cr, cx - r, cy);
    cairo_line_to(cr, cx - r * 0.3, cy - r * 0.3);
    cairo_close_path(cr);
    cairo_fill(cr);
}

enum class sky { none, day, night };
enum class cloud_tone { light, dark };

// A cloud in the upper part of the icon, with the sun or the moon peeking out behind it.
void cloud_with_sky(cairo_t* cr, sky behind, cloud_tone tone, bool low) {
    if (behind == sky::day)
        sun(cr, 33, 12, 7.5);
    else if (behind == sky::night)
        moon(cr, 34, 11, 9.5, true);
    const double y = low ? 17 : (behind == sky::none ? 6 : 9);
    const double x = behind == sky::none ? 3 : 1;
    const double w = behind == sky::none ? 42 : 37;
    const double h = behind == sky::none ? 25 : 23;
    cloud(cr, x, y, w, h, tone == cloud_tone::light ? palette::cloud_white : 0xC9D0D8, palette::cloud_edge,
          1.2);
}

void drops(cairo_t* cr, int count) {
    set_colour(cr, palette::rain_blue);
    cairo_set_line_width(cr, 2.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double span = 30.0, left = 24 - span / 2;
    for (int i = 0; i < count; ++i) {
        const double x = count == 1 ? 24 : left + span * i / (count - 1);
        const double top = 34 + (i % 2) * 3;
        cairo_move_to(cr, x + 2, top);
        cairo_line_to(cr, x - 1.5, top + 7);
    }
    cairo_stroke(cr);
}

void flake(cairo_t* cr, double cx, double cy, double r) {
    set_colour(cr, palette::rain_blue);
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 3; ++i) {
        const double a = i * M_PI / 3 + M_PI / 2;
        cairo_move_to(cr, cx - std::cos(a) * r, cy - std::sin(a) * r);
        cairo_line_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
    }
    cairo_stroke(cr);
}

void flakes(cairo_t* cr, int count) {
    const double span = count > 3 ? 32.0 : 26.0, left = 24 - span / 2;
    for (int i = 0; i < count; ++i) {
        const double x = count == 1 ? 24 : left + span * i / (count - 1);
        flake(cr, x, 37 + (i % 2) * 6, count > 3 ? 3.3 : 3.8);
    }
}

void sleet(cairo_t* cr) {
    drops(cr, 1);
    flake(cr, 12, 39, 3.6);
    flake(cr, 36, 39, 3.6);
}

// Fine rain: short dashes in two staggered rows.
void drizzle(cairo_t* cr) {
    set_colour(cr, palette::rain_blue);
    cairo_set_line_width(cr, 2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 4 - row; ++i) {
            const double x = 11 + row * 4.5 + i * 9, y = 36 + row * 6;
            cairo_move_to(cr, x + 0.8, y);
            cairo_line_to(cr, x - 0.4, y + 2.5);
        }
    cairo_stroke(cr);
}

void bolt(cairo_t* cr) {
    cairo_move_to(cr, 26, 27);
    cairo_line_to(cr, 17, 38);
    cairo_line_to(cr, 23, 38);
    cairo_line_to(cr, 19, 47);
    cairo_line_to(cr, 31, 34);
    cairo_line_to(cr, 25, 34);
    cairo_line_to(cr, 29, 27);
    cairo_close_path(cr);
    set_colour(cr, palette::sun_yellow);
    cairo_fill_preserve(cr);
    set_colour(cr, palette::sun_orange);
    cairo_set_line_width(cr, 1.2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void bars(cairo_t* cr, double top, std::uint32_t rgb, int count) {
    set_colour(cr, rgb);
    cairo_set_line_width(cr, 3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < count; ++i) {
        const double inset = (i % 2) ? 9 : 5;
        cairo_move_to(cr, inset, top + i * 6);
        cairo_line_to(cr, icon - inset, top + i * 6);
    }
    cairo_stroke(cr);
}

void wind(cairo_t* cr) {
    set_colour(cr, palette::cloud_edge);
    cairo_set_line_width(cr, 3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    // Three gusts, each ending in a curl.
    const double rows[][3] = {{14, 34, 5}, {24, 42, 6}, {34, 28, 4.5}};
    for (const auto& r : rows) {
        const double y = r[0], end = r[1], curl = r[2];
        cairo_move_to(cr, 5, y);
        cairo_line_to(cr, end, y);
        cairo_arc_negative(cr, end, y - curl, curl, M_PI / 2, -M_PI * 0.9);
        cairo_stroke(cr);
    }
}

using precipitation = void (*)(cairo_t*);
void no_precipitation(cairo_t*) {}
void light_rain(cairo_t* cr) {
    drops(cr, 3);
}
void heavy_rain(cairo_t* cr) {
    drops(cr, 5);
}
void light_snow(cairo_t* cr) {
    flakes(cr, 3);
}
void heavy_snow(cairo_t* cr) {
    flakes(cr, 5);
}
void thunder(cairo_t* cr) {
    drops(cr, 2);
    bolt(cr);
}

painter clouded(sky behind, cloud_tone tone, precipitation falling) {
    return [=](cairo_t* cr, int, int) {
        // Without anything falling the cloud sits lower, in the middle of the icon.
        cloud_with_sky(cr, behind, tone, falling == no_precipitation);
        falling(cr);
    };
}

void clear_day(cairo_t* cr, int, int) {
    sun(cr, 24, 24, 11);
}
void clear_night(cairo_t* cr, int, int) {
    moon(cr, 22, 25, 15);
    star(cr, 38, 12, 4);
    star(cr, 41, 27, 2.5);
}
void partly_cloudy_day(cairo_t* cr, int, int) {
    sun(cr, 30, 17, 9);
    cloud(cr, 2, 22, 36, 22, palette::cloud_white, palette::cloud_edge, 1.2);
}
void partly_cloudy_night(cairo_t* cr, int, int) {
    moon(cr, 30, 16, 12, true);
    cloud(cr, 2, 22, 36, 22, palette::cloud_white, palette::cloud_edge, 1.2);
}
void overcast(cairo_t* cr, int, int) {
    cloud(cr, 14, 6, 32, 20, 0xC9D0D8, palette::cloud_edge, 1.2);
    cloud(cr, 2, 16, 40, 26, palette::cloud_white, palette::cloud_edge, 1.2);
}
void mostly_sunny(cairo_t* cr, int, int) {
    sun(cr, 21, 20, 10);
    cloud(cr, 22, 28, 24, 15, palette::cloud_white, palette::cloud_edge, 1.2);
}
void dark_overcast(cairo_t* cr, int, int) {
    cloud(cr, 14, 6, 32, 20, palette::storm_grey, 0x505A66, 1.2);
    cloud(cr, 2, 16, 40, 26, 0xC9D0D8, palette::cloud_edge, 1.2);
}
void fog(cairo_t* cr, int, int) {
    cloud(cr, 5, 3, 38, 23, palette::cloud_white, palette::cloud_edge, 1.2);
    bars(cr, 31, palette::cloud_edge, 3);
}
void night_fog(cairo_t* cr, int, int) {
    moon(cr, 26, 15, 11);
    bars(cr, 31, palette::cloud_edge, 3);
}
void sun_through_mist(cairo_t* cr, int, int) {
    sun(cr, 24, 18, 9);
    bars(cr, 31, palette::sun_orange, 3);
}
void windy(cairo_t* cr, int, int) {
    wind(cr);
}

} // namespace

void add_weather_icons(catalogue& c) {
    struct state {
        const char* code;
        painter paint;
    };
    // A "c" marks the night form of a code, an "s" the form with sunny spells.
    const state states[] = {
        {"0", clear_night},
        {"1", clear_day},
        {"2", mostly_sunny},
        {"3", partly_cloudy_day},
        {"5", overcast},
        {"6", dark_overcast},
        {"7", fog},
        {"9", clouded(sky::none, cloud_tone::light, drizzle)},
        {"13", clouded(sky::none, cloud_tone::light, light_rain)},
        {"14", clouded(sky::none, cloud_tone::dark, heavy_rain)},
        {"15", clouded(sky::none, cloud_tone::dark, thunder)},
        {"19", clouded(sky::none, cloud_tone::light, light_snow)},
        {"21", clouded(sky::none, cloud_tone::dark, heavy_snow)},
        {"22", clouded(sky::none, cloud_tone::light, sleet)},
        {"28", windy},
        {"c6", partly_cloudy_night},
        {"c7", night_fog},
        {"c9", clouded(sky::night, cloud_tone::light, drizzle)},
        {"s6", clouded(sky::day, cloud_tone::dark, no_precipitation)},
        {"s7", sun_through_mist},
        {"s9", clouded(sky::day, cloud_tone::light, drizzle)},
        {"s13", clouded(sky::day, cloud_tone::light, light_rain)},
        {"s14", clouded(sky::day, cloud_tone::dark, heavy_rain)},
    };
    for (const state& s : states)
        c.add(std::string("state_") + s.code, std::string("weather/state_") + s.code + ".png", icon, icon,
              s.paint);
}

} // namespace assets
