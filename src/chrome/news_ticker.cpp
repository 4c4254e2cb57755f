#include "chrome/news_ticker.h"

#include "model/model.h"
#include "model/news/category.h"
#include "model/news/headline.h"
#include "model/news/manager.h"
#include "model/updated_mark.h"
#include "ui/graphics.h"
#include "ui/static_fonts.h"

#include <algorithm>

namespace zor {
namespace ui {

namespace {
const platform::COLORREF headline_colour = 0x404040;
const int slide_margin = 12;
} // namespace

news_ticker::news_ticker()
    : caption(L"", 0xFFFFFF, cl::ui::fonts::tahoma_22, cl::ui::align_left),
      current_text(L"", headline_colour, cl::ui::fonts::tahoma_22, cl::ui::align_left),
      next_text(L"", headline_colour, cl::ui::fonts::tahoma_22, cl::ui::align_left), slide(slide_speed) {}

news_ticker::~news_ticker() = default;

bool news_ticker::is_failed() const {
    // A category that failed, or has no headlines, has nothing to run: the strip passes it by.
    return (category && category->is_failed()) || (ready && item_count == 0);
}

content_state news_ticker::get_state() const {
    std::wstring id;
    if (item_count > 0 && shown > 0)
        id = items[static_cast<std::size_t>((shown - 1) % item_count)].id;
    return content_state(L"headlines", text, L"", id);
}

void news_ticker::forget() {
    category.reset();
    items.clear();
    item_count = 0;
    shown = 0;
    switches = 0;
    show_next = false;
    current_text.set_text(L"");
    next_text.set_text(L"");
}

void news_ticker::set_text(const std::wstring& t) {
    forget();
    ticker::set_text(t);
}

void news_ticker::clear_text() {
    forget();
    ticker::clear_text();
}

void news_ticker::fill() {
    if (text.empty())
        return;
    auto manager = zor::model::news_manager();
    if (!manager)
        return;
    category = manager->find_category(text, std::wstring());
    if (!category)
        return;
    if (category->is_loaded() && !category->is_failed()) {
        {
            news::headlines_lock lock(category);
            if (lock.list()) {
                for (const auto& h : *lock.list()) {
                    if (item_count >= max_items)
                        break;
                    items.push_back(item{h->text(), h->id()});
                    ++item_count;
                }
            }
        }
        set_background(category->color());
        // A held copy says how old it is under the category's name.
        const std::wstring mark = zor::updated_mark(category->copy_time());
        caption.set_text(mark.empty() ? category->name() : category->name() + L"\n" + mark);
        if (auto g = cl::ui::get_graphics())
            caption_height = g->measure_text(caption.get_text(), cl::ui::fonts::tahoma_22, 128).cy;
        if (item_count > 0) {
            current_text.set_text(items[0].text);
            shown = 1;
        }
        set_ready(true);
        layout();
    } else if (!requested) {
        // Not loaded yet, or failed before: asked for once each time the ticker comes to this category, so
        // that a category that failed can come back into the turns.
        zor::model::load(category);
        requested = true;
    }
}

void news_ticker::next_item() {
    if (item_count == 0)
        return;
    next_text.set_text(current_text.get_text());
    current_text.set_text(items[static_cast<std::size_t>(shown % item_count)].text);
    ++shown;
    show_next = true;
    const int distance = (text_area.bottom - text_area.top) - 2 * slide_margin;
    slide.set({static_cast<double>(distance), 0.0});
    layout();
}

void news_ticker::open() {
    request(get_state());
}

void news_ticker::update(unsigned long now_ms) {
    ticker::update(now_ms);
    if (slide.update(now_ms)) {
        layout();
        dirty = true;
    } else if (show_next && slide.value(0) == 0) {
        show_next = false;
        dirty = true;
    }
    if (mode != running || start == 0 || item_count < 2)
        return;
    // One headline every item_time after the run started; the run ends after the last one.
    const auto elapsed = static_cast<unsigned long>(static_cast<std::uint32_t>(now_ms - start));
    const int due = std::min(static_cast<int>(elapsed / item_time), item_count - 1);
    while (switches < due) {
        next_item();
        ++switches;
    }
}

void news_ticker::layout_content() {
    const platform::RECT& m = moving;
    caption_area = platform::RECT{m.left, m.top, m.left + caption_width, m.bottom};
    const int caption_top = m.top + ((m.bottom - m.top) - caption_height) / 2;
    caption.set_rect(platform::RECT{m.left + 12, std::max(caption_top, m.top + text_inset), m.left + 140,
                                    m.bottom - text_inset});
    text_area = platform::RECT{m.left + caption_width + 1, m.top + text_inset, m.right - text_inset,
                               m.bottom - text_inset};
    const int offset = show_next || slide.value(0) != 0 ? static_cast<int>(slide.value(0)) : 0;
    const int distance = (text_area.bottom - text_area.top) - 2 * slide_margin;
    const platform::RECT lines{text_area.left + 8, text_area.top + 4, text_area.right - 4, text_area.bottom};
    current_text.set_rect(platform::RECT{lines.left, lines.top + offset, lines.right, lines.bottom + offset});
    next_text.set_rect(platform::RECT{lines.left, lines.top + offset - distance, lines.right,
                                      lines.bottom + offset - distance});
}

void news_ticker::draw_content(cl::ui::i_graphics& g) {
    const platform::RECT clip{std::max(rect.left, text_area.left), text_area.top,
                              std::min(rect.right, text_area.right), text_area.bottom};
    if (clip.right > clip.left)
        g.fill_rect(clip, 0xFFFFFF);
    const platform::RECT caption_clip{std::max(rect.left, caption_area.left), rect.top,
                                      std::min(rect.right, caption_area.right), rect.bottom};
    if (caption_clip.right > caption_clip.left)
        g.draw_text_clipped(caption.get_text(), caption.get_rect(), caption_clip, cl::ui::fonts::tahoma_22,
                            0xFFFFFF, cl::ui::align_left);
    if (clip.right <= clip.left)
        return;
    g.draw_text_clipped(current_text.get_text(), current_text.get_rect(), clip, cl::ui::fonts::tahoma_22,
                        headline_colour, cl::ui::align_left);
    if (show_next)
        g.draw_text_clipped(next_text.get_text(), next_text.get_rect(), clip, cl::ui::fonts::tahoma_22,
                            headline_colour, cl::ui::align_left);
}

} // namespace ui
} // namespace zor
