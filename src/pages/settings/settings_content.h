#pragma once

#include "content/i_page_content.h"
#include "ui/expanded_block.h"
#include "ui/scrollable_listbox.h"
#include "utils/trackable.h"

#include <map>
#include <string>
#include <vector>

namespace zor {

// The user's options as groups that open and close: article font, the categories of the home page, the home
// city and the unit system, then the terms and "About". Every change is written to options.xml at once.
class settings_content : public i_page_content, public utils::trackable {
public:
    settings_content();

    // An option changed (and was saved).
    utils::signal<utils::function0<void>> changed;

    bool is_loaded() const override { return true; }
    bool is_failed() const override { return false; }
    std::wstring page_name() const override { return L"settings"; }
    std::wstring title() const override { return L"Options"; }
    std::wstring name() const override { return L"Settings"; }
    platform::COLORREF color() const override { return 0x808080; }

    bool is_dirty() const override { return list.is_dirty(); }
    void set_dirty(bool d) override { list.set_dirty(d); }
    platform::RECT get_rect() const override { return list.get_rect(); }
    void set_rect(const platform::RECT& r) override { list.set_rect(r); }
    void update(unsigned long now_ms) override { list.update(now_ms); }
    void layout() override {
        list.layout();
        list.show_kept_place();
    }
    void draw(cl::ui::i_graphics& g, bool force) override { list.draw(g, force); }
    void process_event(const cl::app::event& e) override { list.process_event(e); }
    void scroll_y(int dy) override { list.scroll_y(dy); }
    // The open groups, the focused row and, once scrolled, the row at the top are kept, so a turn of the
    // screen or back come back to them.
    content_state get_state() const override;
    void resume(const content_state& s) override;

    // What choosing the row of this key does.
    void select(const std::wstring& key);
    // The weather page dropped a city: the home city moves to the first one left.
    void remove_city(const std::wstring& id);
    bool is_on(const std::wstring& key) const;
    cl::ui::list_box2& rows() { return list; }

private:
    struct group {
        std::wstring key;
        bool radio;
        cl::ui::expanded_block* block;
        std::vector<boost::shared_ptr<cl::ui::settings_block_item>> options;
    };

    void add_group(const std::wstring& key, const std::wstring& caption, bool radio,
                   const std::vector<std::pair<std::wstring, std::wstring>>& options);
    void apply();
    void save();
    void on_select(std::wstring key);

    cl::ui::list_box2 list;
    std::vector<group> groups;
};

} // namespace zor
