#include "earth_views.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace assets {

void paint_pixels(cairo_t* cr, int x0, int y0, int w, int h,
                  const std::function<rgba(double, double)>& colour) {
    if (w <= 0 || h <= 0)
        return;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < w; ++x) {
            const rgba c = colour(x0 + x + 0.5, y0 + y + 0.5);
            auto q = [](double v) {
                return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
            };
            const std::uint32_t a = q(c.a);
            row[x] = (a << 24) | (q(c.r * c.a) << 16) | (q(c.g * c.a) << 8) | q(c.b * c.a);
        }
    }
    cairo_surface_mark_dirty(s);
    cairo_save(cr);
    cairo_set_source_surface(cr, s, x0, y0);
    cairo_rectangle(cr, x0, y0, w, h);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_surface_destroy(s);
}

rgba earth_colour(const rgb_image& earth, double lon, double lat) {
    double fx = (lon + 180.0) / 360.0 * earth.width - 0.5;
    double fy = (90.0 - lat) / 180.0 * earth.height - 0.5;
    fy = std::clamp(fy, 0.0, earth.height - 1.0);
    const int x0 = static_cast<int>(std::floor(fx));
    const int y0 = static_cast<int>(std::floor(fy));
    const double tx = fx - x0, ty = fy - y0;
    auto at = [&](int x, int y, int c) {
        x = ((x % earth.width) + earth.width) % earth.width;
        y = std::clamp(y, 0, earth.height - 1);
        return earth.rgb[(static_cast<std::size_t>(y) * earth.width + x) * 3 + c] / 255.0;
    };
    double out[3];
    for (int c = 0; c < 3; ++c) {
        const double top = at(x0, y0, c) * (1 - tx) + at(x0 + 1, y0, c) * tx;
        const double bottom = at(x0, y0 + 1, c) * (1 - tx) + at(x0 + 1, y0 + 1, c) * tx;
        out[c] = top * (1 - ty) + bottom * ty;
    }
    return {out[0], out[1], out[2], 1.0};
}

namespace {

// The colour of one point of the disc, (u, v) in units of the radius, v upwards.
rgba globe_point(const rgb_image& earth, double u, double v, double lon0, double lat0) {
    const double rho2 = u * u + v * v;
    const double z = std::sqrt(std::max(0.0, 1.0 - rho2));
    // Rotate the view point back to the earth: tilt about the x axis by the latitude, then spin.
    const double p0 = lat0 * M_PI / 180.0;
    const double y = v * std::cos(p0) + z * std::sin(p0);
    const double zz = -v * std::sin(p0) + z * std::cos(p0);
    const double lat = std::asin(std::clamp(y, -1.0, 1.0)) * 180.0 / M_PI;
    const double lon = lon0 + std::atan2(u, zz) * 180.0 / M_PI;
    rgba c = earth_colour(earth, std::remainder(lon, 360.0), lat);
    // Light from the upper left and a little in front.
    const double lx = -0.45, ly = 0.55, lz = 0.70;
    const double len = std::sqrt(lx * lx + ly * ly + lz * lz);
    const double diffuse = std::max(0.0, (u * lx + v * ly + z * lz) / len);
    const double light = 0.30 + 0.85 * diffuse;
    c.r *= light, c.g *= light, c.b *= light;
    // Atmosphere: a blue haze growing towards the limb.
    const double haze = std::pow(1.0 - z, 2.2) * 0.75;
    c.r = c.r * (1 - haze) + 0.45 * haze;
    c.g = c.g * (1 - haze) + 0.68 * haze;
    c.b = c.b * (1 - haze) + 1.00 * haze;
    return c;
}

} // namespace

void paint_globe(cairo_t* cr, const rgb_image& earth, double cx, double cy, double r, double lon0,
                 double lat0) {
    const int x0 = static_cast<int>(std::floor(cx - r - 1)), y0 = static_cast<int>(std::floor(cy - r - 1));
    const int size = static_cast<int>(std::ceil(2 * r + 3));
    paint_pixels(cr, x0, y0, size, size, [&](double px, double py) {
        const double du = (px - cx) / r, dv = (cy - py) / r;
        const double d = std::sqrt(du * du + dv * dv);
        const double pixel = 1.0 / r;
        if (d > 1 + pixel)
            return rgba{0, 0, 0, 0};
        if (d < 1 - pixel)
            return globe_point(earth, du, dv, lon0, lat0);
        // The rim: 4 x 4 samples.
        rgba sum{0, 0, 0, 0};
        for (int sy = 0; sy < 4; ++sy)
            for (int sx = 0; sx < 4; ++sx) {
                const double u = (px - 0.5 + (sx + 0.5) / 4 - cx) / r;
                const double v = (cy - (py - 0.5 + (sy + 0.5) / 4)) / r;
                if (u * u + v * v > 1)
                    continue;
                const rgba c = globe_point(earth, u, v, lon0, lat0);
                sum.r += c.r, sum.g += c.g, sum.b += c.b, sum.a += 1;
            }
        if (sum.a == 0)
            return rgba{0, 0, 0, 0};
        return rgba{sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, sum.a / 16};
    });
}

} // namespace assets
