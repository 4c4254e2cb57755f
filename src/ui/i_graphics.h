#pragma once

#include "platform/types.h"
#include "ui/font.h"
#include "ui/i_image.h"

#include <string>

namespace cl {
namespace ui {

// Text alignment codes of draw_text.
enum text_align { align_left = 0, align_right = 1, align_center = 2, align_left_vcenter = 3 };

// The one drawing surface of the panel: every control draws through it into the frame's back buffer, and
// end_frame presents the rectangles that were invalidated.
class i_graphics {
public:
    virtual ~i_graphics() = default;
    virtual void begin_frame(int a = 0, int b = 0) = 0;
    virtual void end_frame(bool present) = 0;
    virtual void draw_image(const image_ptr& image, int x, int y) = 0;
    virtual void draw_image_centered(const image_ptr& image, int x, int y, int w, int h) = 0;
    virtual void draw_image_alpha(const image_ptr& image, int x, int y, unsigned char alpha) = 0;
    virtual void draw_text(const std::wstring& text, const platform::RECT& rect, const font_ptr& font,
                           platform::COLORREF colour, int align) = 0;
    // The same, drawing nothing outside clip.
    virtual void draw_text_clipped(const std::wstring& text, const platform::RECT& rect,
                                   const platform::RECT& clip, const font_ptr& font,
                                   platform::COLORREF colour, int align) = 0;
    virtual platform::SIZE measure_text(const std::wstring& text, const font_ptr& font, int width) = 0;
    virtual int text_width(const std::wstring& text, const font_ptr& font) = 0;
    virtual void fill_rect(const platform::RECT& rect, platform::COLORREF colour) = 0;
    virtual void draw_frame(const platform::RECT& rect, platform::COLORREF colour) = 0;
    virtual image_ptr copy_image(const platform::RECT& rect) = 0;
    virtual void update_size() = 0;
    // The globe renderer. init_opengl builds the GL state, the sphere mesh and the earth texture from its
    // two halves; it throws utils::opengl_error when there is no usable GL. Called again with the same
    // textures and mesh it keeps what it built and only gives the earth back unmarked and unturned.
    virtual void init_opengl(int texture_width, int texture_height, const std::wstring& path_a,
                             const std::wstring& path_b, int stacks, int slices, float p, float q) = 0;
    // One frame of the globe into the back buffer; nothing without a GL state.
    virtual void render_globe() = 0;
    // The angles of the next frame; a changed region is restored to its colours and the new one darkened.
    virtual void set_globe_state(int restore_region, int mark_region, int angle_x, int angle_y) = 0;
    // The square of the back buffer the following globe frames fill (the shorter side of the rectangle
    // from its top-left corner); an empty rectangle gives the whole window back.
    virtual void set_globe_area(const platform::RECT& area) = 0;
    virtual void draw_image_part(const image_ptr& image, int x, int y, const platform::RECT& source,
                                 unsigned char alpha) = 0;
    virtual void draw_image_tiled(const image_ptr& image, const platform::RECT& rect,
                                  unsigned char alpha) = 0;
    virtual void invalidate(const platform::RECT& rect) = 0;
    // An animation that never ends (a bouncing arrow, the rate overlay): presented like any other change,
    // but a frame with nothing else does not count as a new picture.
    virtual void invalidate_ornament(const platform::RECT& rect) { invalidate(rect); }
};

} // namespace ui
} // namespace cl
