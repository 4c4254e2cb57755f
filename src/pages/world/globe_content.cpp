#include "pages/world/globe_content.h"

#include "ui/graphics.h"
#include "ui/resources.h"

#include <algorithm>

namespace zor {

namespace {

enum { up_arrow, down_arrow, left_arrow, right_arrow };

// A missing picture leaves its place empty rather than keeping the world view from opening.
cl::ui::image_ptr shade_image(int width, int height, bool cached) {
    try {
        return cl::ui::load_image(cl::ui::resources::path(L"earth_shade"), width, height, !cached);
    } catch (const std::exception&) {
        return cl::ui::image_ptr();
    }
}

cl::ui::image_ptr arrow_image(const wchar_t* key) {
    try {
        return cl::ui::load_resource_image(key);
    } catch (const std::exception&) {
        return cl::ui::image_ptr();
    }
}

void place(cl::ui::picture& p, int x, int y) {
    p.set_rect(platform::RECT{x, y, x, y});
    p.layout();
}

} // namespace

globe_content::globe_content(const boost::shared_ptr<cl::ui::globe>& globe, bool landscape, bool gl_ready)
    : globe(globe), arrows{{arrow_image(L"globe_arrow_up"), true, cl::ui::picture::top_left},
                           {arrow_image(L"globe_arrow_down"), true, cl::ui::picture::top_left},
                           {arrow_image(L"globe_arrow_left"), true, cl::ui::picture::top_left},
                           {arrow_image(L"globe_arrow_right"), true, cl::ui::picture::top_left}},
      shade(cl::ui::picture::top_left), landscape(landscape), gl_ready(gl_ready) {}

std::unique_ptr<globe_content> globe_content::make(bool landscape, int tilt, int spin,
                                                   const std::wstring& folder) {
    boost::shared_ptr<cl::ui::i_graphics> graphics = cl::ui::get_graphics();
    boost::shared_ptr<cl::ui::globe> earth(new cl::ui::globe(graphics));
    bool ready = false;
    if (graphics) {
        std::wstring base = folder;
        if (!base.empty() && base.back() != L'/')
            base += L'/';
        try {
            graphics->init_opengl(512, 256, base + L"rgbaEarthA.raw", base + L"rgbaEarthB.raw", 20, 20, 0.2f,
                                  0.5f);
            ready = true;
        } catch (const std::exception&) {
            // Logged where it was raised.
        }
    }
    std::unique_ptr<globe_content> content(new globe_content(earth, landscape, ready));
    earth->set_angles(tilt, spin);
    return content;
}

content_state globe_content::get_state() const {
    return content_state(
        page_name(), globe->region_code(), globe->region_name(), L"",
        {static_cast<std::int32_t>(globe->tilt()), static_cast<std::int32_t>(globe->spin())});
}

void globe_content::layout() {
    // The globe is the largest square that leaves room for the arrows around it inside the content, in
    // either orientation; the arrows sit at the middle of its sides.
    constexpr int gap = 4;
    auto size_of = [](cl::ui::picture& p) {
        place(p, 0, 0);
        const platform::RECT r = p.get_rect();
        return platform::POINT{r.right - r.left, r.bottom - r.top};
    };
    const platform::POINT vertical = size_of(arrows[up_arrow]), horizontal = size_of(arrows[left_arrow]);
    const int width = rect.right - rect.left - 2 * (horizontal.x + gap);
    const int height = rect.bottom - rect.top - 2 * (vertical.y + gap);
    const int side = std::max(0, std::min(width, height));
    const int cx = (rect.left + rect.right) / 2, cy = (rect.top + rect.bottom) / 2;
    disc = platform::RECT{cx - side / 2, cy - side / 2, cx - side / 2 + side, cy - side / 2 + side};
    place(arrows[up_arrow], cx - vertical.x / 2, disc.top - gap - vertical.y);
    place(arrows[down_arrow], cx - vertical.x / 2, disc.bottom + gap);
    place(arrows[left_arrow], disc.left - gap - horizontal.x, cy - horizontal.y / 2);
    place(arrows[right_arrow], disc.right + gap, cy - horizontal.y / 2);
    if (side > 0 && side != shade_side) {
        shade.set_image(shade_image(side, side, !landscape), true);
        shade_side = side;
    }
    place(shade, disc.left, disc.top);
    if (!gl_ready)
        show_error();
    dirty = true;
}

void globe_content::update(unsigned long now_ms) {
    if (!gl_ready)
        return;
    globe->update(now_ms);
    if (globe->is_changed())
        dirty = true;
}

void globe_content::draw(cl::ui::i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    if (!gl_ready) {
        draw_error(g);
    } else {
        g.fill_rect(rect, background);
        g.set_globe_area(disc);
        globe->draw(g, true);
        shade.draw(g, true);
        for (auto& a : arrows)
            a.draw(g, true);
    }
    dirty = false;
}

void globe_content::open_region() {
    if (globe->current_region() != cl::ui::globe::none)
        request(get_state());
}

void globe_content::on_key_down(int key) {
    if (!gl_ready)
        return;
    switch (key) {
    case 37:
        globe->spin_left(10);
        break;
    case 38:
        globe->tilt_up(10);
        break;
    case 39:
        globe->spin_right(10);
        break;
    case 40:
        globe->tilt_down(10);
        break;
    case 13:
        open_region();
        break;
    default:
        break;
    }
}

void globe_content::on_pen_down(const platform::POINT& pt) {
    if (state == reset)
        return;
    state = pressed;
    press = last = pt;
    moved_x = moved_y = turned_x = turned_y = 0;
}

void globe_content::on_pen_move(const platform::POINT& pt) {
    if (state == pressed)
        state = dragging;
    if (state == dragging && gl_ready) {
        // Small moves add up: the drag turns the globe 0.3 degrees a pixel in whole degrees overall.
        moved_x += pt.x - last.x;
        moved_y += pt.y - last.y;
        const int sx = moved_x * 3 / 10 - turned_x, sy = moved_y * 3 / 10 - turned_y;
        turned_x += sx;
        turned_y += sy;
        if (sx <= 0)
            globe->spin_right(-sx);
        else
            globe->spin_left(sx);
        if (sy <= 0)
            globe->tilt_down(-sy);
        else
            globe->tilt_up(sy);
    } else if (state == reset) {
        state = idle;
    }
    last = pt;
}

void globe_content::on_pen_up(const platform::POINT& pt) {
    if (state == pressed && gl_ready) {
        if (pt.y <= arrows[up_arrow].get_rect().bottom + 5)
            globe->tilt_up(10);
        else if (pt.y >= arrows[down_arrow].get_rect().top - 5)
            globe->tilt_down(10);
        else if (pt.x <= arrows[left_arrow].get_rect().right + 5)
            globe->spin_left(10);
        else if (pt.x >= arrows[right_arrow].get_rect().left - 5)
            globe->spin_right(10);
        else
            open_region();
    }
    if (state == pressed || state == dragging)
        state = idle;
}

} // namespace zor
