#include "ui/gdi_graphics.h"

#include "platform/image_decoder.h"
#include "platform/text.h"
#include "platform/window_system.h"
#include "ui/alpha_blend.h"
#include "utils/errors.h"

#include <algorithm>
#include <cstring>

namespace ui_impl {

namespace {

using platform::RECT;

const gdi_image& as_gdi(const cl::ui::image_ptr& image) {
    utils::check_pointer(image.get(), "image == NULL");
    return static_cast<const gdi_image&>(*image);
}

// The result codes the imaging errors carry.
std::int32_t decode_code(platform::decode_status status) {
    switch (status) {
    case platform::decode_status::unreadable:
        return static_cast<std::int32_t>(0x80070002u); // file not found
    case platform::decode_status::too_large:
        return static_cast<std::int32_t>(0x8007000Eu); // out of memory
    case platform::decode_status::unknown_format:
        return static_cast<std::int32_t>(0x88982F50u); // component not found
    default:
        return static_cast<std::int32_t>(0x80004005u); // unspecified failure
    }
}

cl::ui::image_ptr to_image(platform::decode_result& r) {
    return cl::ui::image_ptr(
        new gdi_image(r.image.width, r.image.height, std::move(r.image.pixels), std::move(r.image.alpha)));
}

} // namespace

std::uint16_t to_rgb565(platform::COLORREF c) {
    unsigned r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    return static_cast<std::uint16_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3));
}

gdi_graphics::gdi_graphics(cl::ui::base_window& window)
    : window(&window), buffer(static_cast<std::size_t>(buffer_size) * buffer_size, 0) {
    invalid.reserve(10);
    system_font.face = L"Tahoma";
    system_font.height = 16;
    update_size();
}

void gdi_graphics::begin_frame(int, int) {}

void gdi_graphics::end_frame(bool present) {
    if (!present)
        return;
    auto surface = platform::get_window_surface(window->get_hwnd());
    if (surface && !invalid.empty()) {
        {
            std::lock_guard<std::mutex> lock(surface->mutex());
            const int w = std::min(surface->width(), buffer_size),
                      h = std::min(surface->height(), buffer_size);
            for (const RECT& r : invalid) {
                int x0 = std::max(r.left, 0), x1 = std::min(r.right, w);
                int y0 = std::max(r.top, 0), y1 = std::min(r.bottom, h);
                for (int y = y0; y < y1 && x0 < x1; ++y)
                    std::memcpy(surface->pixels() + static_cast<std::size_t>(y) * surface->width() + x0,
                                buffer.data() + static_cast<std::size_t>(y) * buffer_size + x0,
                                static_cast<std::size_t>(x1 - x0) * 2);
            }
        }
        surface->touch(content_invalid ? platform::window_surface::change::content
                                       : platform::window_surface::change::ornament);
    }
    invalid.clear();
    content_invalid = false;
}

void gdi_graphics::blend(const gdi_image& image, const RECT& place, const RECT* clip, unsigned char alpha) {
    blend_target t{buffer.data(), buffer_size, buffer_size, buffer_size};
    alpha_blend(t, image.pixels(), image.alpha(), place, clip, alpha);
}

void gdi_graphics::draw_image(const cl::ui::image_ptr& image, int x, int y) {
    const gdi_image& img = as_gdi(image);
    const RECT place{x, y, x + img.width(), y + img.height()};
    if (img.width() % 2 != 0) {
        // Odd rows do not match the padded rows of a plain copy: such pictures go through the blend.
        blend(img, place, nullptr, 255);
        return;
    }
    int x0 = std::max(x, 0), x1 = std::min(place.right, buffer_size);
    int y0 = std::max(y, 0), y1 = std::min(place.bottom, buffer_size);
    for (int row = y0; row < y1 && x0 < x1; ++row)
        std::memcpy(buffer.data() + static_cast<std::size_t>(row) * buffer_size + x0,
                    img.pixels() + static_cast<std::size_t>(row - y) * img.width() + (x0 - x),
                    static_cast<std::size_t>(x1 - x0) * 2);
}

void gdi_graphics::draw_image_centered(const cl::ui::image_ptr& image, int x, int y, int w, int h) {
    const gdi_image& img = as_gdi(image);
    const int dx = (img.width() - w) >> 1, dy = (img.height() - h) >> 1;
    const RECT place{x - dx, y - dy, x - dx + img.width(), y - dy + img.height()};
    const RECT clip{x, y, x + w, y + h};
    blend(img, place, &clip, 255);
}

void gdi_graphics::draw_image_alpha(const cl::ui::image_ptr& image, int x, int y, unsigned char alpha) {
    const gdi_image& img = as_gdi(image);
    blend(img, RECT{x, y, x + img.width(), y + img.height()}, nullptr, alpha);
}

void gdi_graphics::draw_image_part(const cl::ui::image_ptr& image, int x, int y, const RECT& s,
                                   unsigned char alpha) {
    const gdi_image& img = as_gdi(image);
    const RECT place{x - s.left, y - s.top, x - s.left + img.width(), y - s.top + img.height()};
    // The source's width and height count both edges.
    const RECT clip{x, y, x + (s.right - s.left + 1), y + (s.bottom - s.top + 1)};
    blend(img, place, &clip, alpha);
}

void gdi_graphics::draw_image_tiled(const cl::ui::image_ptr& image, const RECT& r, unsigned char alpha) {
    const gdi_image& img = as_gdi(image);
    if (img.width() <= 0 || img.height() <= 0)
        return;
    // Only the part inside the buffer is built; the pattern keeps its phase from the rectangle's top-left.
    const RECT v{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, buffer_size),
                 std::min(r.bottom, buffer_size)};
    const int w = v.right - v.left, h = v.bottom - v.top;
    if (w <= 0 || h <= 0)
        return;
    std::vector<std::uint16_t> pixels(static_cast<std::size_t>(w) * h);
    std::vector<std::uint8_t> plane(static_cast<std::size_t>(w) * h);
    for (int row = 0; row < h; ++row) {
        const std::size_t src_row =
            static_cast<std::size_t>((v.top - r.top + row) % img.height()) * img.width();
        for (int col = 0; col < w; ++col) {
            const std::size_t k = src_row + static_cast<std::size_t>((v.left - r.left + col) % img.width());
            pixels[static_cast<std::size_t>(row) * w + col] = img.pixels()[k];
            plane[static_cast<std::size_t>(row) * w + col] = img.alpha()[k];
        }
    }
    blend_target t{buffer.data(), buffer_size, buffer_size, buffer_size};
    alpha_blend(t, pixels.data(), plane.data(), v, nullptr, alpha);
}

platform::rgb565_target gdi_graphics::text_target() {
    return platform::rgb565_target{buffer.data(), buffer_size, buffer_size, buffer_size};
}

const platform::font_spec& gdi_graphics::font_of(const cl::ui::font_ptr& font) const {
    return font ? font->spec() : system_font;
}

void gdi_graphics::draw_text(const std::wstring& text, const RECT& rect, const cl::ui::font_ptr& font,
                             platform::COLORREF colour, int align) {
    draw_text_in(text, rect, nullptr, font, colour, align);
}

void gdi_graphics::draw_text_clipped(const std::wstring& text, const RECT& rect, const RECT& clip,
                                     const cl::ui::font_ptr& font, platform::COLORREF colour, int align) {
    draw_text_in(text, rect, &clip, font, colour, align);
}

void gdi_graphics::draw_text_in(const std::wstring& text, const RECT& rect, const RECT* clip,
                                const cl::ui::font_ptr& font, platform::COLORREF colour, int align) {
    unsigned format;
    switch (align) {
    case cl::ui::align_right:
        format = platform::DT_WORDBREAK | platform::DT_RIGHT;
        break;
    case cl::ui::align_center:
        format = platform::DT_WORDBREAK | platform::DT_CENTER | platform::DT_VCENTER;
        break;
    case cl::ui::align_left_vcenter:
        format = platform::DT_WORDBREAK | platform::DT_VCENTER;
        break;
    default:
        format = platform::DT_WORDBREAK;
        break;
    }
    RECT r = rect;
    platform::draw_text(text_target(), text, r, font_of(font), colour, format, clip);
}

platform::SIZE gdi_graphics::measure_text(const std::wstring& text, const cl::ui::font_ptr& font, int width) {
    RECT r{0, 0, width, 10};
    platform::draw_text(platform::rgb565_target{}, text, r, font_of(font), 0,
                        platform::DT_CALCRECT | platform::DT_WORDBREAK);
    platform::SIZE s;
    s.cx = width;
    s.cy = r.bottom - r.top;
    return s;
}

int gdi_graphics::text_width(const std::wstring& text, const cl::ui::font_ptr& font) {
    RECT r{0, 0, 10, 10};
    platform::draw_text(platform::rgb565_target{}, text, r, font_of(font), 0, platform::DT_CALCRECT);
    return r.right - r.left;
}

void gdi_graphics::fill_rect(const RECT& rect, platform::COLORREF colour) {
    const std::uint16_t c = to_rgb565(colour);
    int x0 = std::max(rect.left, 0), x1 = std::min(rect.right, buffer_size);
    int y0 = std::max(rect.top, 0), y1 = std::min(rect.bottom, buffer_size);
    for (int y = y0; y < y1 && x0 < x1; ++y)
        std::fill_n(buffer.data() + static_cast<std::size_t>(y) * buffer_size + x0, x1 - x0, c);
}

void gdi_graphics::draw_frame(const RECT& r, platform::COLORREF colour) {
    // A polyline through the four corners and back: both edges of the rectangle are drawn.
    const std::uint16_t c = to_rgb565(colour);
    auto put = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < buffer_size && y < buffer_size)
            buffer[static_cast<std::size_t>(y) * buffer_size + x] = c;
    };
    const int left = std::min(r.left, r.right), right = std::max(r.left, r.right);
    const int top = std::min(r.top, r.bottom), bottom = std::max(r.top, r.bottom);
    for (int x = std::max(left, -1); x <= std::min(right, buffer_size); ++x) {
        put(x, top);
        put(x, bottom);
    }
    for (int y = std::max(top, -1); y <= std::min(bottom, buffer_size); ++y) {
        put(left, y);
        put(right, y);
    }
}

cl::ui::image_ptr gdi_graphics::copy_image(const RECT& r) {
    if (r.top < 0 || r.left < 0 || r.bottom > std::min(win_height, buffer_size) ||
        r.right > std::min(win_width, buffer_size) || r.right < r.left || r.bottom < r.top)
        utils::throw_error(std::runtime_error("Invalid coordinates"));
    const int w = r.right - r.left, h = r.bottom - r.top;
    std::vector<std::uint16_t> pixels(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        std::memcpy(pixels.data() + static_cast<std::size_t>(y) * w,
                    buffer.data() + static_cast<std::size_t>(r.top + y) * buffer_size + r.left,
                    static_cast<std::size_t>(w) * 2);
    std::vector<std::uint8_t> plane(static_cast<std::size_t>(w) * h, 255);
    return cl::ui::image_ptr(new gdi_image(w, h, std::move(pixels), std::move(plane)));
}

void gdi_graphics::update_size() {
    RECT r = platform::get_window_rect(window->get_hwnd());
    win_width = r.right - r.left;
    win_height = r.bottom - r.top;
    aspect = win_width < win_height ? 0.6 : 1.8691588785;
    if (gl_initialised)
        apply_projection();
}

void gdi_graphics::invalidate(const RECT& rect) {
    invalid.push_back(rect);
    content_invalid = true;
}

void gdi_graphics::invalidate_ornament(const RECT& rect) {
    invalid.push_back(rect);
}

cl::ui::image_ptr gdi_graphics::load_image_file(const std::wstring& path, int width, int height) {
    platform::decode_result r = platform::decode_image_file(platform::to_utf8(path), width, height);
    if (!r.ok())
        utils::throw_error(utils::com_error("can't open image", decode_code(r.status)));
    return to_image(r);
}

cl::ui::image_ptr gdi_graphics::load_image_buffer(const void* data, std::size_t size, int width, int height) {
    platform::decode_result r = platform::decode_image_buffer(data, size, width, height);
    if (!r.ok())
        utils::throw_error(utils::com_error("can't read image buffer", decode_code(r.status)));
    return to_image(r);
}

} // namespace ui_impl
