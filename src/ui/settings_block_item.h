#pragma once

#include "ui/list_box_item_base.h"
#include "ui/picture.h"
#include "ui/text_block.h"

#include <boost/shared_ptr.hpp>

namespace cl {
namespace ui {

class expanded_block;

// An option row with a tick box (kind 1), or the header row of a group that opens and closes (kind 0, with an
// open or closed box). Activating it flips it; a header opens or closes its group.
class settings_block_item : public list_box_item_base {
public:
    static constexpr int row_height = 66;
    static constexpr int caption_left = 90;

    settings_block_item(const std::wstring& key, list_box_base* owner, int kind, const std::wstring& caption);

    // Only option rows hide (while their group is closed).
    void set_visible(bool v) override;
    void update(unsigned long now_ms) override;
    void layout() override;
    void draw_content(i_graphics& g, bool force) override;
    void set_focused(bool f) override;
    void on_activated() override;
    std::wstring type_name() const override { return L"settings_block_item"; }

    void set_checked(bool c);
    bool is_checked() const { return checked; }
    int kind() const { return item_kind; }
    const std::wstring& caption() const { return text.get_text(); }
    platform::RECT caption_rect() const { return text.get_rect(); }
    // The group this header opens and closes.
    void set_block(expanded_block* b) { block = b; }
    // An option of a group with one choice shows a radio mark instead of a tick box.
    void show_as_choice();

private:
    void load_marks(const wchar_t* const (&keys)[4]);
    void choose_mark();

    boost::shared_ptr<picture> marks[4]; // checked, unchecked, checked focused, unchecked focused
    boost::shared_ptr<picture> mark;
    text_block text;
    bool caption_placed = false;
    int item_kind;
    bool checked = false;
    expanded_block* block = nullptr;
};

} // namespace ui
} // namespace cl
