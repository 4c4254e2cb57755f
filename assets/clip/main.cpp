// zor-clip: makes the demo news clip: a title card, then a slow flight over the Blue Marble picture towards
// Europe under a caption, fading in and out, drawn at 480 x 360 and 25 frames a second. The frames go raw
// into gst-launch, which scales them to the clip's size and encodes them as VP8 in WebM (whose header carries
// the length).
//
//   zor-clip --earth JPG --font TTF --gst-launch PROGRAM --out WEBM [--frames N]

#include "canvas.h"
#include "picture_files.h"
#include "text_painter.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int width = 480;
constexpr int height = 360;
constexpr double fps = 25;
// The largest the panel ever draws the picture (portrait; landscape draws it smaller): every decoded frame
// the player holds is this size, and a larger one would only be scaled down again.
constexpr int clip_width = 368;
constexpr int clip_height = 276;
constexpr std::uint32_t news_red = 0xDB3C3B;
constexpr std::uint32_t navy = 0x0A1730;

struct options {
    std::string earth;
    std::string font;
    std::string gst_launch;
    std::string out;
    int frames = 250;
};

bool parse(int argc, char** argv, options& o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i], value = argv[i + 1];
        if (arg == "--earth")
            o.earth = value;
        else if (arg == "--font")
            o.font = value;
        else if (arg == "--gst-launch")
            o.gst_launch = value;
        else if (arg == "--out")
            o.out = value;
        else if (arg == "--frames")
            o.frames = std::atoi(value.c_str());
        else
            return false;
    }
    return argc % 2 == 1 && !o.earth.empty() && !o.font.empty() && !o.gst_launch.empty() && !o.out.empty() &&
           o.frames > 0 && o.out.find('\'') == std::string::npos &&
           o.gst_launch.find('\'') == std::string::npos;
}

void set_rgb(cairo_t* cr, std::uint32_t rgb, double alpha = 1.0) {
    cairo_set_source_rgba(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0,
                          alpha);
}

double smooth(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// The earth picture as a Cairo surface, to be drawn scaled and moved.
cairo_surface_t* earth_surface(const assets::rgb_image& earth) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, earth.width, earth.height);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < earth.height; ++y)
        for (int x = 0; x < earth.width; ++x) {
            const std::uint8_t* p = &earth.rgb[(static_cast<std::size_t>(y) * earth.width + x) * 3];
            auto* q = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * stride) + x;
            *q = 0xFF000000u | (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
        }
    cairo_surface_mark_dirty(s);
    return s;
}

// The picture's point of a longitude and latitude (equirectangular).
void project(const assets::rgb_image& earth, double lon, double lat, double& x, double& y) {
    x = (lon + 180) / 360 * earth.width;
    y = (90 - lat) / 180 * earth.height;
}

// From over the Atlantic to western Europe, closing in as it goes.
void flight(cairo_t* cr, cairo_surface_t* earth_pic, const assets::rgb_image& earth, double t) {
    const double e = smooth(t);
    double x0, y0, x1, y1;
    project(earth, -38, 28, x0, y0);
    project(earth, 6, 47, x1, y1);
    const double cx = x0 + (x1 - x0) * e, cy = y0 + (y1 - y0) * e;
    const double view = 720 - 420 * e; // picture pixels across the frame
    const double scale = width / view;
    cairo_save(cr);
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, view / 2 - cx, view * height / width / 2 - cy);
    cairo_set_source_surface(cr, earth_pic, 0, 0);
    // Bilinear: the flight never shrinks the picture by more than a third, and a build step must be quick.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_paint(cr);
    cairo_restore(cr);
    // A soft vignette.
    cairo_pattern_t* v = cairo_pattern_create_radial(width / 2.0, height / 2.0, height * 0.35, width / 2.0,
                                                     height / 2.0, width * 0.75);
    cairo_pattern_add_color_stop_rgba(v, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(v, 1, 0, 0, 0, 0.55);
    cairo_set_source(cr, v);
    cairo_paint(cr);
    cairo_pattern_destroy(v);
}

// The brand's red block with its name.
void brand(cairo_t* cr, const assets::text_painter& text, double x, double y, double w, double h,
           double size) {
    set_rgb(cr, news_red);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    text.draw_centred(cr, "ZOR", {x, y, w, h}, size, 0xFFFFFF);
}

void title_card(cairo_t* cr, const assets::text_painter& text) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, height);
    cairo_pattern_add_color_stop_rgb(g, 0, 0x16 / 255.0, 0x2C / 255.0, 0x55 / 255.0);
    cairo_pattern_add_color_stop_rgb(g, 1, (navy >> 16) / 255.0, ((navy >> 8) & 0xFF) / 255.0,
                                     (navy & 0xFF) / 255.0);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    brand(cr, text, width / 2.0 - 70, 96, 140, 64, 40);
    text.draw_centred(cr, "World News", {0, 184, double(width), 40}, 30, 0xFFFFFF);
    set_rgb(cr, news_red);
    cairo_rectangle(cr, width / 2.0 - 40, 236, 80, 3);
    cairo_fill(cr);
    text.draw_centred(cr, "Europe from above", {0, 250, double(width), 30}, 18, 0xC9D3E6);
}

// The caption over the lower third while the flight runs.
void lower_third(cairo_t* cr, const assets::text_painter& text, double alpha) {
    cairo_push_group(cr);
    set_rgb(cr, navy, 0.82);
    cairo_rectangle(cr, 0, height - 74, width, 48);
    cairo_fill(cr);
    brand(cr, text, 0, height - 74, 72, 48, 22);
    text.draw_centred(cr, "Europe from above", {86, height - 74.0, 240, 48}, 20, 0xFFFFFF);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, alpha);
}

void frame(cairo_t* cr, cairo_surface_t* earth_pic, const assets::rgb_image& earth,
           const assets::text_painter& text, int index, int frames) {
    const double seconds = index / fps, total = frames / fps;
    const double title_end = std::min(2.5, total / 3);
    set_rgb(cr, 0x000000);
    cairo_paint(cr);
    flight(cr, earth_pic, earth, (seconds - title_end + 0.6) / (total - title_end + 0.6));
    lower_third(cr, text, smooth((seconds - title_end - 0.4) / 0.6));
    // The title card fades into the flight; the end fades to black.
    cairo_push_group(cr);
    title_card(cr, text);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, 1 - smooth((seconds - title_end + 0.6) / 0.6));
    set_rgb(cr, 0x000000, smooth((seconds - (total - 0.6)) / 0.6));
    cairo_paint(cr);
}

// The encoder, reading raw RGB frames from its standard input.
std::string encoder_command(const options& o) {
    return "'" + o.gst_launch + "' -q fdsrc fd=0 ! rawvideoparse width=" + std::to_string(width) +
           " height=" + std::to_string(height) + " format=rgb framerate=" + std::to_string(int(fps)) +
           "/1 ! videoconvert ! videoscale ! video/x-raw,format=I420,width=" + std::to_string(clip_width) +
           ",height=" + std::to_string(clip_height) +
           " ! vp8enc deadline=1 target-bitrate=1200000 ! webmmux "
           "! "
           "filesink location='" +
           o.out + "'";
}

} // namespace

int main(int argc, char** argv) {
    options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr,
                     "usage: zor-clip --earth JPG --font TTF --gst-launch PROGRAM --out WEBM [--frames N]\n"
                     "(no quotes in the paths)\n");
        return 2;
    }
    FILE* encoder = nullptr;
    try {
        const assets::rgb_image earth = assets::read_jpeg(o.earth);
        const assets::text_painter text(o.font);
        cairo_surface_t* earth_pic = earth_surface(earth);
        assets::make_parent_folders(o.out);
        encoder = popen(encoder_command(o).c_str(), "w");
        if (!encoder)
            throw std::runtime_error("cannot start " + o.gst_launch);
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
        for (int i = 0; i < o.frames; ++i) {
            assets::canvas c(width, height);
            frame(c.cr(), earth_pic, earth, text, i, o.frames);
            const assets::rgba_image pixels = c.pixels();
            for (std::size_t p = 0; p < rgb.size() / 3; ++p)
                for (int k = 0; k < 3; ++k)
                    rgb[p * 3 + k] = pixels.rgba[p * 4 + k];
            if (std::fwrite(rgb.data(), 1, rgb.size(), encoder) != rgb.size())
                throw std::runtime_error("the encoder stopped reading");
        }
        cairo_surface_destroy(earth_pic);
        const int status = pclose(encoder);
        encoder = nullptr;
        if (status != 0)
            throw std::runtime_error("the encoder failed");
    } catch (const std::exception& e) {
        if (encoder)
            pclose(encoder);
        std::fprintf(stderr, "zor-clip: %s\n", e.what());
        return 1;
    }
    return 0;
}
