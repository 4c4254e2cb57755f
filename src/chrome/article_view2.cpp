#include "chrome/article_view2.h"

#include "model/config.h"
#include "model/options.h"
#include "ui/graphics.h"
#include "ui/list_box_item_base.h"
#include "ui/offset_graphics.h"
#include "ui/resources.h"
#include "ui/static_fonts.h"

#include <algorithm>

namespace zor {
namespace ui {

namespace {
// The user's text size picks one of config.xml's article fonts; without it the standard one.
cl::ui::font_ptr article_font() {
    try {
        zor::options& opts = zor::options::instance();
        const wchar_t* id = nullptr;
        for (auto choice : {std::make_pair(L"4.1", L"art_small"), std::make_pair(L"4.2", L"art_medium"),
                            std::make_pair(L"4.3", L"art_big")}) {
            auto flag = opts.settings_map().find(choice.first);
            if (flag != opts.settings_map().end() && flag->second) {
                id = choice.second;
                break;
            }
        }
        std::wstring face;
        int size = 0, style = 0;
        if (id && zor::config::available() &&
            zor::config::find_font(zor::config::instance().get_items(zor::config::app, zor::config::font), id,
                                   face, size, style))
            return cl::ui::create_font(face, size, style);
    } catch (const std::exception&) {
        // A config.xml without fonts: the standard font.
    }
    return cl::ui::fonts::tahoma_26;
}

const cl::ui::font_ptr& heading_font() {
    return cl::ui::fonts::tahoma_28_bold;
}

std::vector<std::wstring> words_of(const std::wstring& paragraph) {
    std::vector<std::wstring> words;
    std::wstring word;
    for (wchar_t c : paragraph) {
        if (c == L' ' || c == L'\n' || c == L'\r' || c == L'\t') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

std::wstring joined(const std::vector<std::wstring>& words, std::size_t from, std::size_t to) {
    std::wstring text;
    for (std::size_t i = from; i < to; ++i) {
        if (!text.empty())
            text += L' ';
        text += words[i];
    }
    return text;
}
} // namespace

article_view2::article_view2()
    : scrollbar(new scrollbar2), scroll_anim(scroll_speed, scroll_smoothing), font(article_font()) {
    try {
        enlarge_mark.reset(
            new cl::ui::picture(cl::ui::load_image(cl::ui::resources::path(L"click_to_enlarge")), true,
                                cl::ui::picture::top_left));
    } catch (const std::exception&) {
        // No mark picture: the picture alone.
    }
}

void article_view2::set_content(const std::wstring& where, const std::vector<std::wstring>& text,
                                const boost::shared_ptr<cl::ui::async_picture>& thumbnail) {
    location = where;
    paragraphs = text;
    picture = thumbnail;
    layout_picture();
    dirty = true;
}

void article_view2::layout_picture() {
    // The picture lays itself out in its box (centred, cut to the box when drawn) and turns its wait icon
    // there until it has loaded.
    if (picture && text_rect.right > text_rect.left) {
        picture->set_rect(picture_rect());
        picture->layout();
    }
}

bool article_view2::has_picture() const {
    return picture != nullptr;
}

platform::RECT article_view2::picture_rect() const {
    return platform::RECT{text_rect.left + 6, body_top() + 6, text_rect.left + 6 + picture_box,
                          body_top() + 6 + picture_box};
}

void article_view2::layout() {
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    text_rect = platform::RECT{rect.left + 4, rect.top, rect.right - 20, rect.bottom - 4};
    scrollbar_rect = platform::RECT{rect.right - 16, rect.top, rect.right, rect.bottom - 4};
    key_step = (text_rect.right - text_rect.left) / 2;
    scrollbar->set_rect(scrollbar_rect);
    scrollbar->layout();
    heading_height = 0;
    if (!heading.empty()) {
        if (auto g = cl::ui::get_graphics())
            heading_height = 6 + g->measure_text(heading, heading_font(),
                                                 std::max(1, text_rect.right - text_rect.left - 12))
                                     .cy;
    }
    if (enlarge_mark) {
        enlarge_mark->set_rect(
            platform::RECT{text_rect.left + 12, body_top() + 12, text_rect.left + 206, body_top() + 206});
        enlarge_mark->layout();
    }
    layout_picture();
    layout_text();
    scrollable = false;
    if (!blocks.empty()) {
        const int overflow = blocks.back()->get_rect().bottom - text_rect.bottom + 6;
        // A narrower screen may have left the offset past the new end; the drawing follows at once.
        if (offset < end_offset())
            jump_to(end_offset());
        if (overflow > 0) {
            scrollable = true;
            scrollbar->set_range(overflow);
            scrollbar->set_position(-offset);
        }
    }
    scrollbar->set_visible(scrollable);
    dirty = true;
    show_kept_place();
}

void article_view2::layout_text() {
    blocks.clear();
    block_paragraph.clear();
    auto g = cl::ui::get_graphics();
    if (!g)
        return;
    const bool picture_counts = has_picture();
    platform::RECT side{text_rect.left + 212, body_top() + 6, text_rect.right - 6, body_top() + 212};
    if (!picture_counts)
        side.bottom = side.top;
    const platform::RECT full{text_rect.left + 6, side.bottom, text_rect.right - 6, side.bottom + 10000};
    int x = picture_counts ? side.left : full.left;
    int y = side.top;
    int paragraph_index = -1;
    auto add_block = [&](const std::wstring& text, int left, int top, int right,
                         const cl::ui::font_ptr& type = nullptr, platform::COLORREF colour = 0x000000) {
        const cl::ui::font_ptr& f = type ? type : font;
        boost::shared_ptr<cl::ui::text_block> block(
            new cl::ui::text_block(text, colour, f, cl::ui::align_left));
        const platform::SIZE size = g->measure_text(text, f, std::max(1, right - left));
        block->set_rect(platform::RECT{left, top, right, top + size.cy});
        blocks.push_back(block);
        block_paragraph.push_back(paragraph_index);
        return top + size.cy;
    };
    if (!heading.empty())
        add_block(heading, full.left, text_rect.top + 6, full.right, heading_font());
    if (!note.empty())
        y = add_block(note, x, y, picture_counts ? side.right : full.right, cl::ui::fonts::tahoma_22,
                      cl::ui::list_box_item_base::note_colour) +
            6;
    for (const std::wstring& paragraph : paragraphs) {
        ++paragraph_index;
        const std::vector<std::wstring> words = words_of(paragraph);
        std::size_t next = 0;
        while (next < words.size()) {
            if (y >= side.bottom) {
                // Below the picture: the rest of the paragraph at full width in one piece.
                y = add_block(joined(words, next, words.size()), x, y, full.right);
                next = words.size();
                break;
            }
            // Beside the picture: as many words as end with the line that crosses the picture's bottom.
            const int width = side.right - side.left;
            std::size_t end = next;
            int limit = -1;
            while (end < words.size()) {
                const int h = g->measure_text(joined(words, next, end + 1), font, width).cy;
                if (limit < 0 && y + h >= side.bottom)
                    limit = h;
                if (limit >= 0 && h > limit)
                    break;
                ++end;
            }
            if (end == next)
                end = next + 1;
            y = add_block(joined(words, next, end), x, y, side.right);
            next = end;
            if (next < words.size()) {
                x = full.left;
                if (y < side.bottom)
                    y = side.bottom;
            }
        }
        y += 10;
        if (y >= full.top)
            x = full.left;
    }
}

void article_view2::update(unsigned long now_ms) {
    if (picture) {
        // Dirty while its wait icon turns and once when it arrives; drawing it clears that.
        picture->update(now_ms);
        dirty = dirty || picture->is_dirty();
    }
    if (scroll_anim.update(now_ms)) {
        dirty = true;
        if (scrollable && !dragging && animating)
            scrollbar->set_position(-static_cast<int>(scroll_anim.value(0)));
    }
}

void article_view2::draw(cl::ui::i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    g.fill_rect(text_rect, 0xFFFFFF);
    const int shift = static_cast<int>(scroll_anim.value(0));
    const platform::RECT band{text_rect.left, text_rect.top + 6, text_rect.right, text_rect.bottom - 6};
    cl::ui::offset_graphics view(&g, 0, shift);
    view.set_clip(band);
    auto meets = [&](const platform::RECT& r) {
        return r.bottom + shift > band.top && r.top + shift < band.bottom;
    };
    if (picture) {
        const platform::RECT box = picture_rect();
        if (meets(box)) {
            // Cut to its box as well as to the band.
            cl::ui::offset_graphics in_box(&g, 0, shift);
            in_box.set_clip(platform::RECT{box.left, std::max(band.top, box.top + shift), box.right,
                                           std::min(band.bottom, box.bottom + shift)});
            picture->draw(in_box, true);
            if (enlarge_mark && picture->is_loaded() && !picture->is_failed())
                enlarge_mark->draw(view, true);
        }
        // Shown now, or scrolled away: either way nothing is left to redraw for.
        picture->set_dirty(false);
    }
    for (const auto& block : blocks) {
        if (meets(block->get_rect()))
            block->draw(view, true);
    }
    // The margins, so that scrolled text never shows in them.
    g.fill_rect(platform::RECT{text_rect.right, rect.top, rect.right, rect.bottom}, 0xDADADA);
    g.fill_rect(platform::RECT{rect.left, text_rect.bottom, rect.right, rect.bottom}, 0xDADADA);
    g.fill_rect(platform::RECT{rect.left, rect.top, text_rect.left, rect.bottom}, 0xDADADA);
    g.fill_rect(platform::RECT{text_rect.left, text_rect.top, text_rect.right, text_rect.top + 6}, 0xFFFFFF);
    g.fill_rect(platform::RECT{text_rect.left, text_rect.bottom - 6, text_rect.right, text_rect.bottom},
                0xFFFFFF);
    scrollbar->draw(g, true);
    round_control::draw(g, true);
    g.invalidate(rect);
    dirty = false;
}

void article_view2::process_event(const cl::app::event& e) {
    // The scroll bar lies outside the text: pen events anywhere on the control count.
    switch (e.type) {
    case cl::app::event::key_down:
        on_key_down(e.key);
        break;
    case cl::app::event::pen_down:
        if (cl::ui::contains(rect, e.pt))
            on_pen_down(e.pt);
        break;
    case cl::app::event::pen_move:
        if (dragging)
            on_pen_move(e.pt);
        break;
    case cl::app::event::pen_up:
        if (dragging || cl::ui::contains(rect, e.pt))
            on_pen_up(e.pt);
        break;
    default:
        break;
    }
}

void article_view2::on_key_down(int key) {
    if (key == platform::VK_RETURN) {
        if (has_picture())
            picture_clicked();
    } else if (key == platform::VK_UP) {
        scroll_y(key_step);
    } else if (key == platform::VK_DOWN) {
        scroll_y(-key_step);
    }
}

void article_view2::on_pen_down(const platform::POINT& p) {
    tap.press(p);
    if (scrollable && scrollbar->hit_thumb(p)) {
        dragging = true;
        drag_point = p;
        animating = false;
    }
}

void article_view2::on_pen_move(const platform::POINT& p) {
    if (!dragging)
        return;
    scrollbar->drag_by(p.y - drag_point.y);
    offset = -scrollbar->position();
    scroll_anim.set({static_cast<double>(offset)});
    drag_point = p;
    dirty = true;
}

void article_view2::on_pen_up(const platform::POINT& p) {
    // Only a tap opens the picture: a drag or a swipe that ends on it does not.
    const bool tapped = tap.release(p) && cl::ui::contains(text_rect, tap.press_point());
    if (dragging) {
        scrollbar->drag_by(p.y - drag_point.y);
        offset = -scrollbar->position();
        scroll_anim.set({static_cast<double>(offset)});
        dragging = false;
        dirty = true;
        return;
    }
    if (tapped && picture && cl::ui::contains(text_rect, p)) {
        const platform::POINT content{p.x, p.y - offset};
        if (cl::ui::contains(picture_rect(), content))
            on_picture_clicked();
    }
}

void article_view2::on_picture_clicked() {
    picture_clicked();
}

article_view2::place article_view2::reading_place() const {
    place where;
    if (offset == 0)
        return where;
    const int view_top = text_rect.top - offset;
    for (std::size_t i = 0; i < blocks.size() && where.paragraph < 0; ++i)
        if (block_paragraph[i] >= 0 && blocks[i]->get_rect().bottom > view_top)
            where.paragraph = block_paragraph[i];
    int top = 0, bottom = 0;
    if (!paragraph_extent(where.paragraph, top, bottom))
        return place{};
    where.into = view_top < top ? view_top - top : (view_top - top) * 1000 / std::max(1, bottom - top);
    return where;
}

bool article_view2::paragraph_extent(int paragraph, int& top, int& bottom) const {
    bool found = false;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (block_paragraph[i] != paragraph)
            continue;
        const platform::RECT r = blocks[i]->get_rect();
        top = found ? top : r.top;
        bottom = r.bottom;
        found = true;
    }
    return found;
}

void article_view2::go_to(const place& where) {
    int top = 0, bottom = 0;
    if (!paragraph_extent(where.paragraph, top, bottom))
        return;
    // Thousandths of the paragraph, or the pixels above it when negative.
    const int y = where.into < 0 ? top + std::max(where.into, -10000)
                                 : top + std::min(where.into, 1000) * (bottom - top) / 1000;
    jump_to(std::max(end_offset(), std::min(0, text_rect.top - y)));
}

void article_view2::keep_place(const place& where) {
    kept = where;
    show_kept_place();
}

void article_view2::show_kept_place() {
    if (kept.paragraph < 0 || blocks.empty())
        return;
    go_to(kept);
    kept = place{};
}

int article_view2::end_offset() const {
    return std::min(0, (text_rect.bottom - 6) - blocks.back()->get_rect().bottom);
}

void article_view2::jump_to(int new_offset) {
    offset = new_offset;
    scroll_anim.set({static_cast<double>(offset), static_cast<double>(offset)});
    scrollbar->set_position(-offset);
    dirty = true;
}

std::vector<std::int32_t> article_view2::place_record() const {
    const place where = reading_place();
    if (where.paragraph < 0)
        return {};
    return {where.paragraph, where.into};
}

void article_view2::keep_place_record(const std::vector<std::int32_t>& values) {
    if (values.size() >= 2)
        keep_place(place{values[0], values[1]});
}

void article_view2::scroll_y(int delta) {
    if (blocks.empty() || dragging)
        return;
    const int target = std::max(end_offset(), std::min(0, offset + delta));
    if (target == offset)
        return;
    offset = target;
    scroll_anim.set({static_cast<double>(offset)});
    scrollbar->set_position(-offset);
    animating = true;
    dirty = true;
}

} // namespace ui
} // namespace zor
