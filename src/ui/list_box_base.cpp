#include "ui/list_box_base.h"

#include <stdexcept>

namespace cl {
namespace ui {

const char* const list_box_base::duplicate_key_error =
    "Inserted Id value already used by another list_box item";

list_box_base::list_box_base() = default;

void list_box_base::set_rect(const platform::RECT& r) {
    rect = r;
    cursor = rect.top;
    layout();
}

void list_box_base::layout() {
    cursor = rect.top;
    for (const item_ptr& item : rows) {
        item->layout();
        cursor = item->bottom();
    }
    dirty = true;
}

void list_box_base::update(unsigned long now_ms) {
    for (const item_ptr& item : rows) {
        item->update(now_ms);
        if (item->is_visible() && item->is_dirty())
            dirty = true;
    }
}

void list_box_base::draw(i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    for (const item_ptr& item : rows) {
        if (item->is_visible())
            item->draw(g, true);
    }
    dirty = false;
}

void list_box_base::check_key(const item_ptr& item) const {
    if (!item || find_item(item->key()))
        throw std::runtime_error(duplicate_key_error);
}

void list_box_base::add_item(const item_ptr& item) {
    check_key(item);
    item->set_owner(this);
    rows.push_back(item);
    item->layout();
    cursor = item->bottom();
    dirty = true;
}

void list_box_base::insert_front(const item_ptr& item) {
    check_key(item);
    item->set_owner(this);
    rows.insert(rows.begin(), item);
    layout();
}

void list_box_base::insert_before(const item_ptr& item, const std::wstring& key) {
    check_key(item);
    const int at = index_of(key);
    if (at < 0)
        return;
    item->set_owner(this);
    rows.insert(rows.begin() + at, item);
    layout();
}

void list_box_base::remove_item(const std::wstring& key) {
    const int at = index_of(key);
    if (at >= 0)
        rows.erase(rows.begin() + at);
    layout();
}

void list_box_base::clear() {
    rows.clear();
    focused.clear();
    layout();
}

int list_box_base::index_of(const std::wstring& key) const {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i]->key() == key)
            return static_cast<int>(i);
    }
    return -1;
}

list_box_item_base* list_box_base::find_item(const std::wstring& key) const {
    for (const item_ptr& item : rows) {
        if (item->key() == key)
            return item.get();
        if (list_box_base* block = item->as_list()) {
            if (list_box_item_base* inner = block->find_item(key))
                return inner;
        }
    }
    return nullptr;
}

void list_box_base::focus_index(int index) {
    if (index < 0 || index >= item_count())
        return;
    if (list_box_item_base* old = focused_item())
        old->set_focused(false);
    list_box_item_base& item = *rows[static_cast<std::size_t>(index)];
    item.set_focused(true);
    focused = item.key();
    dirty = true;
}

void list_box_base::focus_item(const std::wstring& key) {
    if (key == focused)
        return;
    if (list_box_item_base* old = focused_item())
        old->set_focused(false);
    if (!key.empty())
        focus_changed(key);
    focused = key;
    if (list_box_item_base* item = focused_item())
        item->set_focused(true);
    dirty = true;
}

void list_box_base::focus_next() {
    if (focused.empty())
        return;
    const int at = index_of(focused);
    if (at < 0) {
        focus_item(std::wstring());
        return;
    }
    if (at + 1 >= item_count() || !rows[static_cast<std::size_t>(at + 1)]->is_visible()) {
        // The focus leaves this list for the row after it in the outer list.
        if (outer)
            outer->focus_next();
        return;
    }
    list_box_item_base& next = *rows[static_cast<std::size_t>(at + 1)];
    focus_item(next.key());
    if (list_box_base* block = next.as_list()) {
        if (block->item_count() > 0)
            block->focus_index(0);
    }
}

void list_box_base::focus_previous() {
    const int at = index_of(focused);
    if (at < 0) {
        focus_item(std::wstring());
        return;
    }
    if (at == 0) {
        if (outer)
            outer->focus_previous();
        return;
    }
    list_box_item_base& previous = *rows[static_cast<std::size_t>(at - 1)];
    focus_item(previous.key());
    if (list_box_base* block = previous.as_list()) {
        const int count = block->item_count();
        if (count > 0) {
            // An open block gives its last row; a closed one its header, the first.
            const bool last_shown = block->items()[static_cast<std::size_t>(count - 1)]->is_visible();
            block->focus_index(last_shown ? count - 1 : 0);
        }
    }
}

std::wstring list_box_base::key_at(const platform::POINT& p) const {
    // Hidden rows (the options of a closed group) take no taps.
    for (const item_ptr& item : rows) {
        if (item->is_visible() && item->hit_test(p))
            return item->key();
    }
    return std::wstring();
}

void list_box_base::activate(list_box_item_base& item) {
    item.on_activated();
    item_activated(item.key());
    dirty = true;
}

void list_box_base::on_key_down(int key) {
    list_box_item_base* item = focused_item();
    if (item && item->as_list()) {
        item->as_list()->on_key_down(key);
        return;
    }
    if (focused.empty())
        return;
    if (key == platform::VK_RETURN) {
        if (item)
            activate(*item);
    } else if (key == platform::VK_UP) {
        focus_previous();
    } else if (key == platform::VK_DOWN) {
        focus_next();
    }
}

void list_box_base::on_pen_down(const platform::POINT& p) {
    press = p;
    const std::wstring key = key_at(p);
    if (key.empty())
        return;
    list_box_item_base* item = find_item(key);
    if (list_box_base* block = item ? item->as_list() : nullptr) {
        if (focused != key) {
            if (list_box_item_base* old = focused_item())
                old->set_focused(false);
            focused = key;
        }
        block->on_pen_down(p);
        dirty = true;
    } else if (select_on_press) {
        focus_item(key);
    }
}

void list_box_base::on_pen_up(const platform::POINT& p) {
    const std::wstring key = key_at(p);
    if (key.empty())
        return;
    list_box_item_base* item = find_item(key);
    if (!item)
        return;
    if (list_box_base* block = item->as_list()) {
        focused = key;
        block->on_pen_up(p);
        dirty = true;
    } else if (key == focused) {
        activate(*item);
    } else {
        focus_item(key);
    }
}

} // namespace ui
} // namespace cl
