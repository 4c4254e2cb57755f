#pragma once

#include "ui/list_box_item_base.h"
#include "ui/picture.h"
#include "ui/text_block.h"

#include <boost/shared_ptr.hpp>

namespace cl {
namespace ui {

// A row with an optional picture at the left, a caption that wraps, and an arrow at the right; the caption
// turns white on the blue of the focus.
class list_box_item : public list_box_item_base {
public:
    static constexpr int margin = 5;
    static constexpr int min_height = 56;

    // The picture is drawn once it is loaded; until then its place stays empty.
    list_box_item(list_box_base* owner, const std::wstring& key, const boost::shared_ptr<picture>& icon,
                  const std::wstring& caption, int align = align_left, int icon_width = 0,
                  int icon_height = 0);

    void layout() override;
    void draw_content(i_graphics& g, bool force) override;
    std::wstring type_name() const override { return L"general_list_box_item"; }
    const std::wstring& caption() const { return text.get_text(); }
    // Rows that lead nowhere (plain text) show no arrow.
    void set_arrow(bool shown) { arrow_shown = shown; }
    // A short line in small grey type under the caption (how old the row's content is); empty for none.
    void set_note(const std::wstring& note);
    const std::wstring& note() const { return note_text; }
    // Moves the caption right by this many pixels (a placeholder inside a group).
    void set_indent(int pixels) { indent = pixels; }
    platform::RECT caption_rect() const { return text.get_rect(); }

private:
    boost::shared_ptr<picture> icon;
    int icon_width;
    int icon_height;
    platform::RECT icon_place;
    text_block text;
    image_ptr arrow;
    image_ptr arrow_focused;
    bool arrow_shown = true;
    int indent = 0;
    std::wstring note_text;
    platform::RECT note_rect{};
};

} // namespace ui
} // namespace cl
