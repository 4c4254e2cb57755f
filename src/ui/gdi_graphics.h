#pragma once

#include "ui/base_window.h"
#include "ui/gdi_image.h"
#include "ui/i_graphics.h"

#include <cstdint>
#include <vector>

namespace ui_impl {

// The drawing back-end: an 800 x 800 RGB565 back buffer (it holds the screen in either orientation without
// reallocation) and a list of invalidated rectangles that end_frame copies into the window's surface.
class gdi_graphics : public cl::ui::i_graphics {
public:
    static constexpr int buffer_size = 800;

    explicit gdi_graphics(cl::ui::base_window& window);

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

private:
    void draw_text_in(const std::wstring& text, const platform::RECT& rect, const platform::RECT* clip,
                      const cl::ui::font_ptr& font, platform::COLORREF colour, int align);
    void blend(const gdi_image& image, const platform::RECT& place, const platform::RECT* clip,
               unsigned char alpha);
    platform::rgb565_target text_target();
    const platform::font_spec& font_of(const cl::ui::font_ptr& font) const;

    cl::ui::base_window* window;
    int win_width = 0;
    int win_height = 0;
    double aspect = 0.6;
    std::vector<std::uint16_t> buffer;
    std::vector<platform::RECT> invalid;
    platform::font_spec system_font;
};

// An RGB565 colour from a COLORREF (0x00BBGGRR).
std::uint16_t to_rgb565(platform::COLORREF colour);

} // namespace ui_impl
