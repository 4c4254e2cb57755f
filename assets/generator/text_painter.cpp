#include "text_painter.h"

#include "shapes.h"

#include <cmath>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>
#include <stdexcept>

namespace assets {

namespace {

cairo_font_options_t* fixed_options() {
    cairo_font_options_t* o = cairo_font_options_create();
    cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_subpixel_order(o, CAIRO_SUBPIXEL_ORDER_DEFAULT);
    return o;
}

PangoLayout* make_layout(PangoFontMap* map, cairo_t* cr, const std::string& face, const std::string& text,
                         double pixel_size) {
    PangoContext* ctx = pango_font_map_create_context(map);
    cairo_font_options_t* o = fixed_options();
    pango_cairo_context_set_font_options(ctx, o);
    cairo_font_options_destroy(o);
    if (cr)
        pango_cairo_update_context(cr, ctx);
    PangoLayout* layout = pango_layout_new(ctx);
    g_object_unref(ctx);
    PangoFontDescription* desc = pango_font_description_from_string(face.c_str());
    pango_font_description_set_absolute_size(desc, pixel_size * PANGO_SCALE);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    pango_layout_set_text(layout, text.c_str(), -1);
    return layout;
}

} // namespace

text_painter::text_painter(const std::string& font_file) {
    config = FcConfigCreate();
    auto fail = [&](const std::string& why) {
        if (config)
            FcConfigDestroy(config);
        throw std::runtime_error(why + font_file);
    };
    if (!config || !FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(font_file.c_str())))
        fail("cannot load the font ");
    FcFontSet* fonts = FcConfigGetFonts(config, FcSetApplication);
    FcChar8* family = nullptr;
    FcChar8* style = nullptr;
    if (!fonts || fonts->nfont < 1 ||
        FcPatternGetString(fonts->fonts[0], FC_FAMILY, 0, &family) != FcResultMatch)
        fail("no face in ");
    face = reinterpret_cast<const char*>(family);
    if (FcPatternGetString(fonts->fonts[0], FC_STYLE, 0, &style) == FcResultMatch)
        face += std::string(" ") + reinterpret_cast<const char*>(style);
    font_map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(font_map), config);
}

text_painter::~text_painter() {
    // Drops the fonts the map made, and with them their cairo faces; the map keeps a reference to the
    // configuration it was given until it is given another.
    pango_fc_font_map_shutdown(PANGO_FC_FONT_MAP(font_map));
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(font_map), nullptr);
    g_object_unref(font_map);
    FcConfigDestroy(config);
}

int text_painter::draw_centred(cairo_t* cr, const std::string& text, const box& where, double pixel_size,
                               std::uint32_t rgb) const {
    PangoLayout* layout = make_layout(font_map, cr, face, text, pixel_size);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    // Horizontally the ink is centred; vertically the capitals are (descenders hang below), so every label
    // of a row shares one baseline. Whole pixels keep the stems sharp.
    PangoLayout* caps = make_layout(font_map, cr, face, "H", pixel_size);
    PangoRectangle cap_ink, cap_logical;
    pango_layout_get_pixel_extents(caps, &cap_ink, &cap_logical);
    g_object_unref(caps);
    const double x = std::floor(where.x + (where.w - ink.width) / 2.0 - ink.x + 0.5);
    const double y = std::floor(where.y + (where.h - cap_ink.height) / 2.0 - cap_ink.y + 0.5);
    cairo_save(cr);
    set_colour(cr, rgb);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
    g_object_unref(layout);
    return ink.width;
}

int text_painter::width(const std::string& text, double pixel_size) const {
    PangoLayout* layout = make_layout(font_map, nullptr, face, text, pixel_size);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    g_object_unref(layout);
    return ink.width;
}

} // namespace assets
