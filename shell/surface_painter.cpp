#include "surface_painter.h"

#include "platform/text.h"
#include "platform/text_renderer.h"

#include <cmath>

namespace shell {

surface_painter::surface_painter(platform::window_surface& surface)
    : pixels(surface.pixels()), w(surface.width()), h(surface.height()) {
    // Surfaces are packed rows of RGB565, which Cairo draws into directly where the stride agrees.
    target = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels),
                                                 CAIRO_FORMAT_RGB16_565, w, h, w * 2);
    context = cairo_create(target);
}

surface_painter::~surface_painter() {
    cairo_destroy(context);
    cairo_surface_destroy(target);
}

void surface_painter::colour(std::uint32_t rgb, double alpha) {
    cairo_set_source_rgba(context, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                          (rgb & 0xFF) / 255.0, alpha);
}

void surface_painter::fill_rect(double x, double y, double width, double height, std::uint32_t rgb) {
    colour(rgb);
    cairo_rectangle(context, x, y, width, height);
    cairo_fill(context);
}

void surface_painter::rounded_path(double x, double y, double width, double height, double radius) {
    cairo_new_sub_path(context);
    cairo_arc(context, x + width - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(context, x + width - radius, y + height - radius, radius, 0, M_PI / 2);
    cairo_arc(context, x + radius, y + height - radius, radius, M_PI / 2, M_PI);
    cairo_arc(context, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(context);
}

void surface_painter::fill_rounded(double x, double y, double width, double height, double radius,
                                   std::uint32_t rgb) {
    rounded_path(x, y, width, height, radius);
    colour(rgb);
    cairo_fill(context);
}

void surface_painter::text(const std::string& utf8, int x, int y, int width, int height, font f,
                           std::uint32_t rgb, bool centred) {
    // Cairo's drawing must reach the pixels before the text renderer draws over them.
    cairo_surface_flush(target);
    platform::RECT box{x, y, x + width, y + height};
    const platform::font_spec face{L"GenericSansSerif", static_cast<int>(f.pixels),
                                   f.bold ? platform::font_bold : 0};
    const platform::COLORREF colour = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    platform::draw_text(
        platform::rgb565_target{pixels, w, h, w}, platform::from_utf8(utf8), box, face, colour,
        platform::DT_SINGLELINE | platform::DT_VCENTER | (centred ? platform::DT_CENTER : 0u));
    cairo_surface_mark_dirty(target);
}

} // namespace shell
