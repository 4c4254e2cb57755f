#pragma once

#include "content/i_page_content.h"
#include "ui/expanded_block.h"
#include "ui/picture.h"
#include "ui/scrollable_listbox.h"
#include "utils/trackable.h"

#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace news {
class category;
}

namespace zor {

// One category's headlines: a row with thumbnail and text per headline, then one header row per sub-category
// that opens and closes its group. A sub-category is asked for when its header is tapped; until it has
// loaded its group holds an indented "Loading..." row. A tap on a headline opens its article. The list is
// built once the category has loaded and rebuilt, at most once a minute, when the category changed.
class headlines_content : public i_page_content, public utils::trackable, private boost::noncopyable {
public:
    static constexpr std::int64_t refresh_ms = 60000;

    headlines_content(const std::wstring& category_name, const std::wstring& subcategory_name,
                      const std::wstring& headline_id, platform::COLORREF colour);
    ~headlines_content() override;

    bool is_loaded() const override { return shown; }
    // Nothing to show and the category's load failed: the strip says so instead of waiting for ever.
    bool is_failed() const override;
    std::wstring page_name() const override { return L"headlines"; }
    std::wstring title() const override { return category_name; }
    std::wstring name() const override { return category_name; }
    platform::COLORREF color() const override { return colour; }
    // The selected row's sub-category and headline id while the list is shown, and the row at the top of the
    // view when the list is scrolled.
    content_state get_state() const override;
    // Shows the list from the row its state kept, once the list is there.
    void resume(const content_state& s) override;

    bool is_dirty() const override { return list.is_dirty(); }
    void set_dirty(bool d) override { list.set_dirty(d); }
    platform::RECT get_rect() const override { return list.get_rect(); }
    void set_rect(const platform::RECT& r) override { list.set_rect(r); }
    void update(unsigned long now_ms) override;
    void layout() override { list.layout(); }
    void draw(cl::ui::i_graphics& g, bool force) override { list.draw(g, force); }
    void process_event(const cl::app::event& e) override { list.process_event(e); }
    void scroll_y(int dy) override { list.scroll_y(dy); }

    cl::ui::list_box2& rows() { return list; }
    // What a tap on the row of this key does.
    void select(const std::wstring& key);

private:
    using category_ptr = boost::shared_ptr<news::category>;

    void refresh(std::uint32_t now);
    void fill(const category_ptr& sub, cl::ui::expanded_block& group);
    void check_pending();
    void on_select(std::wstring key);
    cl::ui::list_box_base::item_ptr headline_row(cl::ui::list_box_base* owner, const std::wstring& key,
                                                 const boost::shared_ptr<cl::ui::picture>& picture,
                                                 const std::wstring& text);

    cl::ui::list_box2 list;
    category_ptr category;
    std::map<std::wstring, std::pair<category_ptr, cl::ui::expanded_block*>> subcategory_items;
    std::map<std::wstring, category_ptr> pending;
    bool shown = false;
    std::wstring category_name;
    platform::COLORREF colour;
    std::wstring subcategory_name;
    std::wstring headline_id;
    int picture_width = -1;
    int picture_height = -1;
    std::int64_t last_refresh = 0;
    bool queued_once = false;
    std::uint32_t last_queued = 0;
};

} // namespace zor
