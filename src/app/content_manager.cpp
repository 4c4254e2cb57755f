#include "app/content_manager.h"

#include "ui/font.h"
#include "ui/rounded_block.h"
#include "utils/log.h"

#include <exception>
#include <string>

namespace zor {

namespace {
// The error plate: the news red's darker shade (COLORREF is 0x00BBGGRR).
constexpr platform::COLORREF unavailable_plate = 0x2627A8;
} // namespace

const wchar_t* const content_manager::unavailable_text =
    L"The requested resource currently is not available or no internet connection.";

content_manager::content_manager()
    : slider(slide_speed, slide_smoothing), unavailable_font(cl::ui::create_font(L"Tahoma", 24, 0)) {}

content_manager::~content_manager() = default;

void content_manager::add(int index, i_page_content* content) {
    if (index >= 0 && index < size())
        contents.insert(contents.begin() + index, content);
    else
        contents.push_back(content);
    content->request.connect(utils::function1<void, content_state>(this, &content_manager::on_request));
    content->back.connect(utils::function0<void>(this, &content_manager::on_back));
    content->layout_changed.connect(utils::function0<void>(this, &content_manager::on_layout_changed));
}

void content_manager::clear() {
    if (i_page_content* c = current_content())
        c->deactivate();
    contents.clear();
    current = 0;
    current_failed = false;
    slider.set({0.0, 0.0});
}

void content_manager::panel_paused(bool paused) {
    for (i_page_content& c : contents) {
        if (paused)
            c.panel_paused();
        else
            c.panel_resumed();
    }
}

int content_manager::find(const std::wstring& key) const {
    for (int i = 0; i < size(); ++i) {
        if (contents[static_cast<std::size_t>(i)].name() == key)
            return i;
    }
    return -1;
}

i_page_content* content_manager::current_content() {
    if (current < 0 || current >= size())
        return nullptr;
    return &contents[static_cast<std::size_t>(current)];
}

void content_manager::on_request(content_state s) {
    pending = std::move(s);
    pending_request = true;
}

void content_manager::on_back() {
    pending_back = true;
}

void content_manager::on_layout_changed() {
    layout_changed();
}

int content_manager::switch_to(int direction, int index) {
    if (i_page_content* c = current_content()) {
        const std::wstring kind = c->page_name();
        // Maps take horizontal drags for themselves.
        if (kind == L"continent_map_content" || kind == L"zone_map_content")
            return current;
    }
    const int old = current;
    switch (direction) {
    case previous:
        if (current > 0)
            --current;
        break;
    case next:
        if (current < size() - 1)
            ++current;
        break;
    case jump:
        if (index >= 0 && index <= size() - 1)
            current = index;
        break;
    default:
        break;
    }
    const double w = static_cast<double>(strip_width());
    std::vector<double> aim{current * w};
    if (current != old) {
        if (old >= 0 && old < size())
            contents[static_cast<std::size_t>(old)].deactivate();
        contents[static_cast<std::size_t>(current)].activate();
        if (direction == jump)
            aim.push_back(current * w);
    }
    slider.set(aim);
    if (i_page_content* c = current_content()) {
        c->set_rect(rect);
        c->layout();
    }
    switched(current);
    return current;
}

void content_manager::drag_x(int dx) {
    const double t = slider.value(1);
    const double limit = static_cast<double>(size() - 1) * strip_width();
    if (t - dx >= 0 && t - dx <= limit)
        slider.set({static_cast<double>(dx), 0.0, 0.0});
}

void content_manager::drag_y(int dy) {
    if (i_page_content* c = current_content())
        c->scroll_y(dy);
}

void content_manager::set_rect(const platform::RECT& r) {
    rect = r;
    for (auto& c : contents)
        c.set_rect(r);
    opening.set_rect(r);
    if (!contents.empty()) {
        wait.set_rect(r);
        if (i_page_content* c = current_content())
            c->set_rect(r);
    }
}

void content_manager::layout() {
    if (contents.empty())
        return;
    wait.layout();
    if (i_page_content* c = current_content())
        c->layout();
    needs_redraw = true;
}

void content_manager::update(unsigned long now_ms) {
    // Requests raised during the last frame reach the page now, after the content's handler returned.
    if (pending_request) {
        pending_request = false;
        const content_state s = pending;
        request(s);
    }
    if (pending_back) {
        pending_back = false;
        back();
    }
    if (i_page_content* c = current_content()) {
        if (ready)
            c->update(now_ms);
        if (!c->is_loaded() || !ready) {
            wait.update(now_ms);
            wait_turned = true;
        }
        const bool failed = c->is_failed();
        needs_redraw = needs_redraw || failed != current_failed;
        if (failed && !unavailable) {
            unavailable.reset(
                new cl::ui::text_block(unavailable_text, 0xFFFFFF, unavailable_font, cl::ui::align_left));
            unavailable->set_rect(
                platform::RECT{rect.left + 20, rect.top + 20, rect.right - 20, rect.top + 80});
        }
        current_failed = failed;
    }
    const bool moved = slider.update(now_ms);
    opening_was_visible = opening.is_visible();
    opening.update(now_ms);
    opening_visible = opening.is_visible();
    if (opening_was_visible && !opening_visible)
        opened();
    needs_redraw = needs_redraw || moved || opening.is_dirty();
    if (i_page_content* c = current_content()) {
        // A content not shown yet stays dirty until it is drawn: only the change to showing it is news.
        const bool show = showable(*c);
        needs_redraw = needs_redraw || show != content_shown || (show && c->is_dirty());
        content_shown = show;
    }
}

void content_manager::draw_content(cl::ui::i_graphics& g, int index, int dx) {
    if (index < 0 || index >= size())
        return;
    offset_view.set_graphics(&g);
    offset_view.set_offset(dx, 0);
    // A content never paints over the bars around the strip.
    offset_view.set_clip(rect);
    i_page_content& c = contents[static_cast<std::size_t>(index)];
    if (showable(c))
        c.draw(offset_view, true);
    else
        wait.draw(offset_view, true);
}

void content_manager::draw(cl::ui::i_graphics& g, bool force) {
    if (!force && !needs_redraw && !wait_turned)
        return;
    if (open_pending) {
        open_pending = false;
        // The doors are a snapshot of what was shown; without one the page simply opens.
        try {
            const int middle = (rect.left + rect.right) / 2;
            cl::ui::image_ptr left = g.copy_image(platform::RECT{rect.left, rect.top, middle, rect.bottom});
            cl::ui::image_ptr right = g.copy_image(platform::RECT{middle, rect.top, rect.right, rect.bottom});
            opening.start(left, right);
        } catch (const std::exception& e) {
            utils::log(std::string("Opening without its animation: ") + e.what());
        }
    }
    g.fill_rect(rect, 0xDADADA);
    if (!contents.empty()) {
        const int w = strip_width();
        const int p = static_cast<int>(slider.value(0));
        const int first = w > 0 ? p / w : current;
        const int r = w > 0 ? p - first * w : 0;
        if (r != 0) {
            draw_content(g, first, -r);
            draw_content(g, first + 1, w - r);
        } else {
            draw_content(g, first, 0);
        }
        if (current_failed && unavailable) {
            // The white text needs a dark ground to be read over the light page.
            const platform::RECT text = unavailable->get_rect();
            const int lines = g.measure_text(unavailable_text, unavailable_font, text.right - text.left).cy;
            const platform::RECT plate{text.left - 10, text.top - 10, text.right + 10, text.top + lines + 10};
            g.draw_image_alpha(cl::ui::rounded_block(unavailable_plate, plate.right - plate.left,
                                                     plate.bottom - plate.top, 8),
                               plate.left, plate.top, 255);
            unavailable->draw(g, true);
        }
    }
    opening.draw(g, true);
    // The wait icon turning on its own shows nothing new: a host waiting for the page to settle looks
    // through it (a load still on its way is counted apart).
    if (force || needs_redraw)
        g.invalidate(rect);
    else
        g.invalidate_ornament(rect);
    needs_redraw = false;
    wait_turned = false;
}

void content_manager::process_event(const cl::app::event& e) {
    if (i_page_content* c = current_content())
        c->process_event(e);
}

} // namespace zor
