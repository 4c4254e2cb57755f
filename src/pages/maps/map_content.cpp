#include "pages/maps/map_content.h"

#include "model/model.h"
#include "pages/maps/label_layout.h"
#include "ui/graphics.h"

#include <algorithm>
#include <cstdlib>

namespace zor {

namespace {

// How far the view may move by d along one axis: never past either edge of the picture.
double limit(double d, double target, int picture, int view) {
    if (d > 0)
        return view + target < picture ? std::min(d, picture - target - view) : 0.0;
    if (d < 0)
        return target > 0 ? std::max(d, -target) : 0.0;
    return 0.0;
}

platform::POINT centre(const platform::RECT& r) {
    return platform::POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

const wchar_t* const arrow_keys[4] = {L"globe_arrow_left", L"globe_arrow_right", L"globe_arrow_up",
                                      L"globe_arrow_down"};

} // namespace

map_content::map_content() {
    for (int i = 0; i < 4; ++i)
        arrows[i] = cl::ui::load_resource_image(arrow_keys[i]);
}

map_content::~map_content() = default;

bool map_content::is_failed() const {
    if (!requested || map_loaded)
        return false;
    auto geo = geo_object();
    if (!geo)
        return true;
    // Map loads keep the failed flag of an earlier attempt: only a load that ended counts.
    if (!geo->is_loaded())
        return geo->is_failed() && !geo->is_queued();
    auto picture = map_picture();
    if (!picture)
        return true;
    return picture->is_loaded() && (picture->is_failed() || !picture->get_image());
}

int map_content::picture_width() const {
    return image ? image->width() : 0;
}

int map_content::picture_height() const {
    return image ? image->height() : 0;
}

platform::RECT map_content::make_view() const {
    platform::RECT v = rect;
    if (!image)
        return v;
    const int extra_x = (v.right - v.left) - image->width();
    if (extra_x > 0) {
        v.left += extra_x / 2;
        v.right = v.left + image->width();
    }
    const int extra_y = (v.bottom - v.top) - image->height();
    if (extra_y > 0) {
        v.top += extra_y / 2;
        v.bottom = v.top + image->height();
    }
    return v;
}

void map_content::set_rect(const platform::RECT& r) {
    rect = r;
    layout();
}

void map_content::layout() {
    view_rect = make_view();
    const platform::RECT& c = rect;
    const int mid_x = (c.left + c.right) / 2, mid_y = (c.top + c.bottom) / 2;
    auto w = [&](int i) { return arrows[i] ? arrows[i]->width() : 0; };
    auto h = [&](int i) { return arrows[i] ? arrows[i]->height() : 0; };
    arrow_at[left] = platform::POINT{c.left + arrow_inset, mid_y - h(left) / 2};
    arrow_at[right] = platform::POINT{c.right - w(right) - arrow_inset, mid_y - h(right) / 2};
    arrow_at[up] = platform::POINT{mid_x - w(up) / 2, c.top + arrow_inset};
    arrow_at[down] = platform::POINT{mid_x - w(down) / 2, c.bottom - h(down) - arrow_inset};
    clamp_offsets();
    dirty = true;
}

void map_content::clamp_offsets() {
    // A new view size may leave the offsets beyond the picture: both the value and the target come back.
    auto clamp = [](cl::aff::move_affector& a, int picture, int view) {
        const double most = std::max(0, picture - view);
        a.set({std::min(std::max(a.value(0), 0.0), most), std::min(std::max(a.value(1), 0.0), most)});
    };
    clamp(horizontal, picture_width(), view_rect.right - view_rect.left);
    clamp(vertical, picture_height(), view_rect.bottom - view_rect.top);
}

void map_content::update(unsigned long now_ms) {
    if (!requested) {
        requested = true;
        request_map();
    }
    if (!map_loaded)
        check_loaded();
    const bool moved_x = horizontal.update(now_ms);
    const bool moved_y = vertical.update(now_ms);
    if (moved_x || moved_y)
        dirty = true;
    ++idle;
}

void map_content::check_loaded() {
    auto geo = geo_object();
    if (!geo || !geo->is_loaded())
        return;
    auto picture = map_picture();
    if (!picture)
        return;
    if (!picture->is_loaded()) {
        zor::model::load_missing_picture(picture);
        return;
    }
    if (picture->is_failed())
        return;
    cl::ui::image_ptr loaded = picture->get_image();
    if (!loaded || loaded->width() <= 0 || loaded->height() <= 0)
        return;
    // Kept here: the picture budget may drop the picture's own copy while the map is shown.
    image = loaded;
    map_loaded = true;
    layout();
    // The map opens on its middle.
    const double x = std::max(0, picture_width() - (view_rect.right - view_rect.left)) / 2;
    const double y = std::max(0, picture_height() - (view_rect.bottom - view_rect.top)) / 2;
    horizontal.set({x, x});
    vertical.set({y, y});
    build_items();
    focus_index = no_focus;
    for (std::size_t i = 0; i < item_count() && focus_index == no_focus; ++i) {
        if (item_shown(i))
            focus_index = i;
    }
    focus_changed();
    dirty = true;
}

void map_content::free_content() {
    image.reset();
    map_loaded = false;
    requested = false;
    focus_index = no_focus;
    drop_items();
    dirty = true;
}

void map_content::pan(int dx, int dy) {
    idle = 0;
    const double tx = horizontal.value(1), ty = vertical.value(1);
    const double mx = limit(dx, tx, picture_width(), view_rect.right - view_rect.left);
    const double my = limit(dy, ty, picture_height(), view_rect.bottom - view_rect.top);
    if (mx != 0)
        horizontal.set({tx + mx});
    if (my != 0)
        vertical.set({ty + my});
}

void map_content::set_focus(std::size_t i) {
    focus_index = i;
    dirty = true;
    focus_changed();
}

void map_content::move_focus(int dir) {
    const std::size_t n = item_count();
    if (focus_index >= n)
        return;
    const platform::POINT from = centre(item_box(focus_index));
    const long long vw = view_rect.right - view_rect.left, vh = view_rect.bottom - view_rect.top;
    long long bound = vw * vw + vh * vh;
    std::size_t best = no_focus;
    for (double k : {1.0, 3.0, 10.0}) {
        for (std::size_t i = 0; i < n; ++i) {
            if (i == focus_index || !item_shown(i))
                continue;
            const platform::POINT to = centre(item_box(i));
            const long long dx = to.x - from.x, dy = to.y - from.y;
            const double adx = static_cast<double>(std::llabs(dx)), ady = static_cast<double>(std::llabs(dy));
            bool in_cone = false;
            switch (dir) {
            case left:
                in_cone = dx < 0 && ady < k * adx;
                break;
            case right:
                in_cone = dx > 0 && ady < k * adx;
                break;
            case up:
                in_cone = dy < 0 && adx < k * ady;
                break;
            case down:
                in_cone = dy > 0 && adx < k * ady;
                break;
            default:
                break;
            }
            const long long d2 = dx * dx + dy * dy;
            if (in_cone && d2 < bound) {
                bound = d2;
                best = i;
            }
        }
        if (best != no_focus)
            break;
    }
    if (best == no_focus)
        return;
    set_focus(best);
    const platform::POINT to = centre(item_box(best));
    pan(static_cast<int>(to.x - (horizontal.value(1) + vw / 2)),
        static_cast<int>(to.y - (vertical.value(1) + vh / 2)));
}

void map_content::on_key_down(int key) {
    if (!map_loaded)
        return;
    switch (key) {
    case platform::VK_LEFT:
        move_focus(left);
        break;
    case platform::VK_UP:
        move_focus(up);
        break;
    case platform::VK_RIGHT:
        move_focus(right);
        break;
    case platform::VK_DOWN:
        move_focus(down);
        break;
    case platform::VK_RETURN:
        on_enter();
        break;
    default:
        return;
    }
    idle = 0;
}

void map_content::on_pen_down(const platform::POINT& pt) {
    // The page hands a tap over once more when the pen lifts; that repeat is not a new gesture.
    if (pressed && pt.x == press.x && pt.y == press.y)
        return;
    pressed = true;
    panning = false;
    press = last = pt;
}

void map_content::on_pen_move(const platform::POINT& pt) {
    if (!map_loaded || !pressed)
        return;
    if (panning) {
        pan(last.x - pt.x, last.y - pt.y);
        last = pt;
    } else if (std::abs(pt.x - press.x) >= pan_start || std::abs(pt.y - press.y) >= pan_start) {
        pan(press.x - pt.x, press.y - pt.y);
        last = pt;
        panning = true;
    }
}

void map_content::on_pen_up(const platform::POINT& pt) {
    if (!pressed)
        return;
    pressed = false;
    if (map_loaded && !panning && std::abs(pt.x - press.x) <= tap_reach &&
        std::abs(pt.y - press.y) <= tap_reach)
        tap(pt);
}

void map_content::tap(const platform::POINT& pt) {
    const platform::POINT at{pt.x + static_cast<int>(horizontal.value(0)) - view_rect.left,
                             pt.y + static_cast<int>(vertical.value(0)) - view_rect.top};
    if (focus_index < item_count() && cl::ui::contains(item_box(focus_index), at)) {
        open_focused();
        return;
    }
    for (std::size_t i = 0; i < item_count(); ++i) {
        if (item_shown(i) && cl::ui::contains(item_box(i), at)) {
            set_focus(i);
            return;
        }
    }
}

bool map_content::in_clear_view(const platform::RECT& box, int x, int y) const {
    const platform::RECT& v = view_rect;
    const platform::RECT on_screen{box.left + v.left - x, box.top + v.top - y, box.right + v.left - x,
                                   box.bottom + v.top - y};
    if (on_screen.left < v.left || on_screen.top < v.top || on_screen.right > v.right ||
        on_screen.bottom > v.bottom)
        return false;
    for (int dir = 0; dir < 4; ++dir) {
        if (!arrows[dir] || !arrow_shown(dir))
            continue;
        const platform::POINT a = arrow_at[dir];
        if (overlap(on_screen,
                    platform::RECT{a.x, a.y, a.x + arrows[dir]->width(), a.y + arrows[dir]->height()}))
            return false;
    }
    return true;
}

void map_content::draw_text_box(cl::ui::i_graphics& g, const platform::RECT& box, const std::wstring& text,
                                const cl::ui::font_ptr& font, platform::COLORREF fill,
                                platform::COLORREF ink) const {
    const platform::RECT& v = view_rect;
    const platform::RECT cut{std::max(box.left, v.left), std::max(box.top, v.top),
                             std::min(box.right, v.right), std::min(box.bottom, v.bottom)};
    if (cut.left >= cut.right || cut.top >= cut.bottom)
        return;
    g.fill_rect(cut, fill);
    g.draw_text_clipped(text, box, cut, font, ink, cl::ui::align_center);
}

bool map_content::arrow_shown(int dir) const {
    if (!map_loaded)
        return false;
    const int x = static_cast<int>(horizontal.value(0)), y = static_cast<int>(vertical.value(0));
    switch (dir) {
    case left:
        return x > 0;
    case right:
        return picture_width() > (view_rect.right - view_rect.left) + x;
    case up:
        return y > 0;
    case down:
        return picture_height() > (view_rect.bottom - view_rect.top) + y;
    default:
        return false;
    }
}

void map_content::draw(cl::ui::i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    dirty = false;
    if (!map_loaded)
        return;
    const int x = static_cast<int>(horizontal.value(0)), y = static_cast<int>(vertical.value(0));
    const platform::RECT& v = view_rect;
    g.draw_image_part(image, v.left, v.top,
                      platform::RECT{x, y, x + (v.right - v.left) - 1, y + (v.bottom - v.top) - 1}, 255);
    draw_items(g, x, y);
    // Over the items: a focused label near an edge never hides where more map lies.
    for (int dir = 0; dir < 4; ++dir) {
        if (arrows[dir] && arrow_shown(dir))
            g.draw_image_alpha(arrows[dir], arrow_at[dir].x, arrow_at[dir].y, 255);
    }
}

} // namespace zor
