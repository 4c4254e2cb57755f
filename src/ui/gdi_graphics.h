#pragma once

#include "platform/gl_context.h"
#include "ui/base_window.h"
#include "ui/gdi_image.h"
#include "ui/i_graphics.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace ui_impl {

// The drawing back-end: an 800 x 800 RGB565 back buffer (it holds the screen in either orientation without
// reallocation) and a list of invalidated rectangles that end_frame copies into the window's surface.
class gdi_graphics : public cl::ui::i_graphics {
public:
    static constexpr int buffer_size = 800;
    // The globe's off-screen surface: the whole window in either orientation, or the globe's square (at most
    // the portrait width) drawn at twice its side.
    static constexpr int surface_size = 960;

    explicit gdi_graphics(cl::ui::base_window& window);
    ~gdi_graphics() override;

    void begin_frame(int a = 0, int b = 0) override;
    void end_frame(bool present) override;
    void draw_image(const cl::ui::image_ptr& image, int x, int y) override;
    void draw_image_centered(const cl::ui::image_ptr& image, int x, int y, int w, int h) override;
    void draw_image_alpha(const cl::ui::image_ptr& image, int x, int y, unsigned char alpha) override;
    void draw_text(const std::wstring& text, const platform::RECT& rect, const cl::ui::font_ptr& font,
                   platform::COLORREF colour, int align) override;
    void draw_text_clipped(const std::wstring& text, const platform::RECT& rect, const platform::RECT& clip,
                           const cl::ui::font_ptr& font, platform::COLORREF colour, int align) override;
    platform::SIZE measure_text(const std::wstring& text, const cl::ui::font_ptr& font, int width) override;
    int text_width(const std::wstring& text, const cl::ui::font_ptr& font) override;
    void fill_rect(const platform::RECT& rect, platform::COLORREF colour) override;
    void draw_frame(const platform::RECT& rect, platform::COLORREF colour) override;
    cl::ui::image_ptr copy_image(const platform::RECT& rect) override;
    void update_size() override;
    void draw_image_part(const cl::ui::image_ptr& image, int x, int y, const platform::RECT& source,
                         unsigned char alpha) override;
    void draw_image_tiled(const cl::ui::image_ptr& image, const platform::RECT& rect,
                          unsigned char alpha) override;
    void invalidate(const platform::RECT& rect) override;
    void invalidate_ornament(const platform::RECT& rect) override;
    void init_opengl(int texture_width, int texture_height, const std::wstring& path_a,
                     const std::wstring& path_b, int stacks, int slices, float p, float q) override;
    void render_globe() override;
    void set_globe_state(int restore_region, int mark_region, int angle_x, int angle_y) override;
    void set_globe_area(const platform::RECT& area) override;

    // Loaders; width = height = 0 keeps the picture's own size. Failures throw utils::com_error
    // "can't open image" or "can't read image buffer".
    static cl::ui::image_ptr load_image_file(const std::wstring& path, int width = 0, int height = 0);
    static cl::ui::image_ptr load_image_buffer(const void* data, std::size_t size, int width, int height);

    const std::uint16_t* back_buffer() const { return buffer.data(); }
    std::uint16_t* back_buffer() { return buffer.data(); }
    const std::vector<platform::RECT>& invalidated() const { return invalid; }
    int window_width() const { return win_width; }
    int window_height() const { return win_height; }
    double aspect_ratio() const { return aspect; }

    // The globe's state as built by init_opengl.
    bool opengl_ready() const { return gl_initialised; }
    int globe_index_count() const { return index_count; }
    const std::vector<float>& globe_vertices() const { return vertices; }
    const std::vector<std::uint16_t>& globe_indices() const { return indices; }
    // RGB bytes and region mask, row 0 the south edge.
    const std::vector<std::uint8_t>& globe_texture() const { return texture; }
    const std::vector<std::uint8_t>& globe_mask() const { return mask; }
    int globe_angle_x() const { return angle_x; }
    int globe_angle_y() const { return angle_y; }

private:
    void draw_text_in(const std::wstring& text, const platform::RECT& rect, const platform::RECT* clip,
                      const cl::ui::font_ptr& font, platform::COLORREF colour, int align);
    void blend(const gdi_image& image, const platform::RECT& place, const platform::RECT* clip,
               unsigned char alpha);
    platform::rgb565_target text_target();
    const platform::font_spec& font_of(const cl::ui::font_ptr& font) const;
    void shutdown_opengl();
    void apply_projection();
    bool has_globe_area() const;
    int globe_side() const;
    // Pixels drawn along each side of a pixel of the globe's area.
    int globe_samples() const;
    void read_texture_half(const std::wstring& path, int first_column);
    void shade_region(int region, bool darken);

    cl::ui::base_window* window;
    int win_width = 0;
    int win_height = 0;
    double aspect = 0.6;
    std::vector<std::uint16_t> buffer;
    std::vector<platform::RECT> invalid;
    bool content_invalid = false;
    platform::font_spec system_font;

    // The globe.
    int tex_width = 0;
    int tex_height = 0;
    std::wstring texture_path_a;
    std::wstring texture_path_b;
    int stacks = 0;
    int slices = 0;
    int vertex_count = 0;
    int index_count = 0;
    float param_p = 0;
    float param_q = 0;
    int angle_x = 0;
    int angle_y = 0;
    // Where the globe's square frames go; empty: the whole window, as the renderer's first projection.
    platform::RECT globe_area{0, 0, 0, 0};
    std::unique_ptr<platform::gl_context> gl;
    unsigned texture_name = 0;
    std::vector<float> vertices;
    std::vector<std::int32_t> tex_coords;
    std::vector<std::uint16_t> indices;
    std::vector<std::uint8_t> mask;
    std::vector<std::uint8_t> texture;
    // The colours as read, so that a darkened continent comes back exactly.
    std::vector<std::uint8_t> file_texture;
    std::vector<std::uint16_t> readback;
    bool gl_initialised = false;
};

// An RGB565 colour from a COLORREF (0x00BBGGRR).
std::uint16_t to_rgb565(platform::COLORREF colour);

} // namespace ui_impl
