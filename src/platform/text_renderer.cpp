#include "platform/text_renderer.h"

#include "platform/text.h"

#include <algorithm>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <mutex>
#include <pango/pangocairo.h>

namespace platform {

namespace {

// Only Wine's regular Tahoma: its bold file has regular-weight strokes, so bold is better synthesised from
// the regular face (fontconfig does that when no bold face of the family exists).
const char* const wine_tahoma = "/usr/share/wine/fonts/tahoma.ttf";

// One font map and context for the process; Pango objects are not shared between threads, so every use
// holds the lock.
struct text_engine {
    std::mutex m;
    PangoFontMap* font_map = nullptr;
    PangoContext* context = nullptr;

    text_engine() {
        FcInit();
        // Wine's folder is not searched by default; the face must be added before the font map is first used.
        FcConfigAppFontAddFile(FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(wine_tahoma));
        font_map = pango_cairo_font_map_new();
        context = pango_font_map_create_context(font_map);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
        pango_cairo_context_set_font_options(context, options);
        cairo_font_options_destroy(options);
    }

    // Neither fontconfig's nor cairo's static caches are torn down at exit: both abort the process when a
    // font is still referenced at that moment, which pango's font threads make happen now and then. The
    // leak checker is told about them instead.
    ~text_engine() {
        g_object_unref(context);
        g_object_unref(font_map);
    }
};

text_engine& engine() {
    static text_engine e;
    return e;
}

std::string family_for(const std::wstring& face) {
    if (face == L"GenericSansSerif" || face.empty())
        return "DejaVu Sans";
    return to_utf8(face);
}

PangoLayout* make_layout(text_engine& e, const std::wstring& text, const font_spec& font, unsigned format,
                         int width) {
    PangoLayout* layout = pango_layout_new(e.context);
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, family_for(font.face).c_str());
    pango_font_description_set_absolute_size(desc, std::max(1, font.height) * PANGO_SCALE);
    pango_font_description_set_weight(desc,
                                      (font.style & font_bold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(desc,
                                     (font.style & font_italic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);

    std::string utf8 = to_utf8(text);
    if (format & DT_SINGLELINE)
        std::replace_if(
            utf8.begin(), utf8.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    else
        utf8.erase(std::remove(utf8.begin(), utf8.end(), '\r'), utf8.end());
    pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));

    PangoAttrList* attrs = pango_attr_list_new();
    if (font.style & font_underline)
        pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (font.style & font_strikeout)
        pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);

    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE) && width > 0) {
        pango_layout_set_width(layout, width * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    PangoAlignment align = PANGO_ALIGN_LEFT;
    if (format & DT_CENTER)
        align = PANGO_ALIGN_CENTER;
    else if (format & DT_RIGHT)
        align = PANGO_ALIGN_RIGHT;
    pango_layout_set_alignment(layout, align);
    return layout;
}

} // namespace

int draw_text(const rgb565_target& target, const std::wstring& text, RECT& rect, const font_spec& font,
              COLORREF colour, unsigned format, const RECT* clip) {
    text_engine& e = engine();
    std::lock_guard<std::mutex> lock(e.m);
    const int box_width = rect.right - rect.left;
    PangoLayout* layout = make_layout(e, text, font, format, box_width);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    const int text_height = logical.height;

    if (format & DT_CALCRECT) {
        if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE))
            rect.right = rect.left + std::max(box_width, logical.width);
        else
            rect.right = rect.left + logical.width;
        rect.bottom = rect.top + text_height;
        g_object_unref(layout);
        return text_height;
    }

    if (!target.pixels || target.width <= 0 || target.height <= 0 || target.stride % 2 != 0) {
        g_object_unref(layout);
        return text_height;
    }
    // Without word breaking a line is as wide as its text: align it inside the rectangle ourselves.
    int x = rect.left;
    if (!((format & DT_WORDBREAK) && !(format & DT_SINGLELINE))) {
        if (format & DT_CENTER)
            x = rect.left + (box_width - logical.width) / 2;
        else if (format & DT_RIGHT)
            x = rect.right - logical.width;
    }
    int y = rect.top;
    if ((format & DT_VCENTER) && (format & DT_SINGLELINE))
        y = rect.top + ((rect.bottom - rect.top) - text_height) / 2;

    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(target.pixels), CAIRO_FORMAT_RGB16_565, target.width, target.height,
        target.stride * 2);
    cairo_t* cr = cairo_create(surface);
    cairo_rectangle(cr, rect.left, rect.top, box_width, rect.bottom - rect.top);
    cairo_clip(cr);
    if (clip) {
        cairo_rectangle(cr, clip->left, clip->top, clip->right - clip->left, clip->bottom - clip->top);
        cairo_clip(cr);
    }
    cairo_set_source_rgb(cr, (colour & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                         ((colour >> 16) & 0xFF) / 255.0);
    cairo_move_to(cr, x - (((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) ? 0 : logical.x), y);
    pango_cairo_update_context(cr, e.context);
    pango_layout_context_changed(layout);
    pango_cairo_show_layout(cr, layout);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    g_object_unref(layout);
    return text_height;
}

std::string resolved_family(const std::wstring& face) {
    text_engine& e = engine();
    std::lock_guard<std::mutex> lock(e.m);
    PangoFontDescription* desc = pango_font_description_from_string(family_for(face).c_str());
    pango_font_description_set_absolute_size(desc, 20 * PANGO_SCALE);
    PangoFont* font = pango_font_map_load_font(e.font_map, e.context, desc);
    pango_font_description_free(desc);
    std::string family;
    if (font) {
        PangoFontDescription* chosen = pango_font_describe(font);
        if (const char* f = pango_font_description_get_family(chosen))
            family = f;
        pango_font_description_free(chosen);
        g_object_unref(font);
    }
    return family;
}

} // namespace platform
