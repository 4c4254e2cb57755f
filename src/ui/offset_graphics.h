#pragma once

#include "ui/i_graphics.h"

#include <algorithm>

namespace cl {
namespace ui {

// Lets a control draw in its own coordinates: every position and rectangle is moved by (dx, dy). With a
// clip (in the wrapped graphics' coordinates), fills, frames, pictures (whole, centred or in part), tiles,
// text and invalidation stay inside it, so rows scrolled out of a list do not spill over their neighbours.
class offset_graphics : public i_graphics {
public:
    offset_graphics() = default;
    offset_graphics(i_graphics* wrapped, int dx, int dy) : dx(dx), dy(dy), wrapped(wrapped) {}

    void set_graphics(i_graphics* g) { wrapped = g; }
    void set_offset(int x, int y) {
        dx = x;
        dy = y;
    }
    void set_clip(const platform::RECT& r) {
        clip = r;
        clipping = true;
    }

    void begin_frame(int a = 0, int b = 0) override { wrapped->begin_frame(a, b); }
    void end_frame(bool present) override { wrapped->end_frame(present); }
    void draw_image(const image_ptr& image, int x, int y) override {
        if (!clipping)
            wrapped->draw_image(image, x + dx, y + dy);
        else if (image)
            draw_visible_part(image, x + dx, y + dy, 255);
    }
    void draw_image_centered(const image_ptr& image, int x, int y, int w, int h) override {
        if (!clipping) {
            wrapped->draw_image_centered(image, x + dx, y + dy, w, h);
        } else if (image) {
            // The middle of the picture in the box, as the back-end centres it, then cut to the clip.
            const int left = x + dx - ((image->width() - w) >> 1),
                      top = y + dy - ((image->height() - h) >> 1);
            draw_part_within(image, left, top, platform::RECT{x + dx, y + dy, x + dx + w, y + dy + h}, 255);
        }
    }
    void draw_image_alpha(const image_ptr& image, int x, int y, unsigned char alpha) override {
        if (!clipping)
            wrapped->draw_image_alpha(image, x + dx, y + dy, alpha);
        else if (image)
            draw_visible_part(image, x + dx, y + dy, alpha);
    }
    void draw_text(const std::wstring& text, const platform::RECT& rect, const font_ptr& font,
                   platform::COLORREF colour, int align) override {
        if (clipping)
            wrapped->draw_text_clipped(text, moved(rect), clip, font, colour, align);
        else
            wrapped->draw_text(text, moved(rect), font, colour, align);
    }
    void draw_text_clipped(const std::wstring& text, const platform::RECT& rect, const platform::RECT& within,
                           const font_ptr& font, platform::COLORREF colour, int align) override {
        wrapped->draw_text_clipped(text, moved(rect), clipped(moved(within)), font, colour, align);
    }
    platform::SIZE measure_text(const std::wstring& text, const font_ptr& font, int width) override {
        return wrapped->measure_text(text, font, width);
    }
    int text_width(const std::wstring& text, const font_ptr& font) override {
        return wrapped->text_width(text, font);
    }
    void fill_rect(const platform::RECT& rect, platform::COLORREF colour) override {
        wrapped->fill_rect(clipped(moved(rect)), colour);
    }
    void draw_frame(const platform::RECT& rect, platform::COLORREF colour) override {
        const platform::RECT r = moved(rect);
        const int left = std::min(r.left, r.right), right = std::max(r.left, r.right);
        const int top = std::min(r.top, r.bottom), bottom = std::max(r.top, r.bottom);
        if (!clipping ||
            (left >= clip.left && top >= clip.top && right < clip.right && bottom < clip.bottom)) {
            wrapped->draw_frame(r, colour);
            return;
        }
        // Both far edges belong to a frame: its four sides as one-pixel fills, each cut to the clip.
        for (const platform::RECT& side : {platform::RECT{left, top, right + 1, top + 1},
                                           platform::RECT{left, bottom, right + 1, bottom + 1},
                                           platform::RECT{left, top, left + 1, bottom + 1},
                                           platform::RECT{right, top, right + 1, bottom + 1}}) {
            const platform::RECT shown = clipped(side);
            if (shown.right > shown.left && shown.bottom > shown.top)
                wrapped->fill_rect(shown, colour);
        }
    }
    image_ptr copy_image(const platform::RECT& rect) override { return wrapped->copy_image(moved(rect)); }
    void update_size() override { wrapped->update_size(); }
    void init_opengl(int texture_width, int texture_height, const std::wstring& path_a,
                     const std::wstring& path_b, int stacks, int slices, float p, float q) override {
        wrapped->init_opengl(texture_width, texture_height, path_a, path_b, stacks, slices, p, q);
    }
    void render_globe() override { wrapped->render_globe(); }
    void set_globe_state(int restore_region, int mark_region, int angle_x, int angle_y) override {
        wrapped->set_globe_state(restore_region, mark_region, angle_x, angle_y);
    }
    void set_globe_area(const platform::RECT& area) override { wrapped->set_globe_area(moved(area)); }
    void draw_image_part(const image_ptr& image, int x, int y, const platform::RECT& source,
                         unsigned char alpha) override {
        if (!clipping) {
            wrapped->draw_image_part(image, x + dx, y + dy, source, alpha);
        } else if (image) {
            // The source's size counts both edges.
            const int left = x + dx - source.left, top = y + dy - source.top;
            draw_part_within(image, left, top,
                             platform::RECT{x + dx, y + dy, x + dx + source.right - source.left + 1,
                                            y + dy + source.bottom - source.top + 1},
                             alpha);
        }
    }
    void draw_image_tiled(const image_ptr& image, const platform::RECT& rect, unsigned char alpha) override {
        wrapped->draw_image_tiled(image, clipped(moved(rect)), alpha);
    }
    void invalidate(const platform::RECT& rect) override { wrapped->invalidate(clipped(moved(rect))); }
    void invalidate_ornament(const platform::RECT& rect) override {
        wrapped->invalidate_ornament(clipped(moved(rect)));
    }

private:
    platform::RECT moved(const platform::RECT& r) const {
        return platform::RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    }
    platform::RECT clipped(const platform::RECT& r) const {
        if (!clipping)
            return r;
        platform::RECT c{std::max(r.left, clip.left), std::max(r.top, clip.top),
                         std::min(r.right, clip.right), std::min(r.bottom, clip.bottom)};
        c.right = std::max(c.right, c.left);
        c.bottom = std::max(c.bottom, c.top);
        return c;
    }
    // The picture at (x, y) in the wrapped coordinates, cut to the clip.
    void draw_visible_part(const image_ptr& image, int x, int y, unsigned char alpha) {
        draw_part_within(image, x, y, platform::RECT{x, y, x + image->width(), y + image->height()}, alpha);
    }
    // The picture at (x, y) in the wrapped coordinates, only where it meets both the box and the clip.
    void draw_part_within(const image_ptr& image, int x, int y, const platform::RECT& box,
                          unsigned char alpha) {
        platform::RECT shown = clipped(box);
        shown.left = std::max(shown.left, x);
        shown.top = std::max(shown.top, y);
        shown.right = std::min(shown.right, x + image->width());
        shown.bottom = std::min(shown.bottom, y + image->height());
        if (shown.right <= shown.left || shown.bottom <= shown.top)
            return;
        // The source rectangle counts both edges.
        const platform::RECT source{shown.left - x, shown.top - y, shown.right - x - 1, shown.bottom - y - 1};
        wrapped->draw_image_part(image, shown.left, shown.top, source, alpha);
    }

    int dx = 0;
    int dy = 0;
    i_graphics* wrapped = nullptr;
    platform::RECT clip;
    bool clipping = false;
};

} // namespace ui
} // namespace cl
