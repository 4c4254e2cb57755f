#pragma once

#include "content/i_page_content.h"
#include "ui/async_picture.h"
#include "ui/picture.h"
#include "ui/scrollable_listbox.h"
#include "utils/trackable.h"

#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace news {
class category;
}

namespace zor {

class options;
class ticker_manager;

// The first page: a section with the first two headlines of every category ticked in the settings, and two
// shortcuts, to the weather and to the citizen report. In landscape the shortcuts are pictures in a column
// right of the list; in portrait they are rows after the first and the second section. Sections are
// refreshed from the news model at most once a minute, or as soon as a category reports a change.
class home_content : public i_page_content, public utils::trackable, private boost::noncopyable {
public:
    static constexpr int tile_column_width = 320;
    static constexpr std::int64_t refresh_ms = 60000;
    static const wchar_t* const tipline_key;
    static const wchar_t* const weather_key;
    static const wchar_t* const video_key;

    home_content(options* settings, ticker_manager* tickers);
    ~home_content() override;

    bool is_loaded() const override { return loaded; }
    bool is_failed() const override { return loading; }
    std::wstring page_name() const override { return L"home"; }
    std::wstring title() const override { return L"Home"; }
    std::wstring name() const override { return L"Home"; }
    platform::COLORREF color() const override { return 255; }
    // With the number of sections above the view once the list is scrolled: the shortcuts are rows in
    // portrait only, so sections are what both orientations share.
    content_state get_state() const override;
    // Shows the list from the section its state kept, once the sections are there.
    void resume(const content_state& s) override;
    void activate() override;
    void deactivate() override;
    // Built again at the next update (the ticked categories changed).
    virtual void reset();

    bool is_dirty() const override { return dirty || list.is_dirty(); }
    void set_rect(const platform::RECT& r) override;
    void update(unsigned long now_ms) override;
    void layout() override;
    void draw(cl::ui::i_graphics& g, bool force) override;
    void process_event(const cl::app::event& e) override;
    void on_pen_down(const platform::POINT& p) override;
    void on_pen_up(const platform::POINT& p) override;
    void scroll_y(int dy) override { list.scroll_y(dy); }

    cl::ui::list_box2& rows() { return list; }
    bool is_landscape() const { return layout_mode == 0; }
    platform::RECT weather_tile_rect() const;
    platform::RECT tipline_tile_rect() const;
    // What selecting the row or tile of this key does.
    void select(const std::wstring& key);

private:
    using category_ptr = boost::shared_ptr<news::category>;

    void build();
    void refresh(std::uint32_t now);
    void rebuild_section(const category_ptr& category);
    // Shows the resumed section at the top once every section that can come is there.
    void show_resumed();
    // The key of the row a category's section goes before; empty for the end of the list.
    std::wstring section_successor(const category_ptr& category) const;
    void on_select(std::wstring key);
    // Logs once when the pictures of the first sections shown have all arrived.
    void note_pictures_shown();

    cl::ui::list_box2 list;
    bool loading = false;
    bool loaded = false;
    options* settings;
    ticker_manager* tickers;
    std::vector<std::wstring> home_category_names;
    std::vector<category_ptr> home_categories;
    std::set<std::wstring> sections;
    int picture_width = -1;
    int picture_height = -1;
    std::int64_t last_check = 0;
    bool refresh_due = false;
    // The section to show at the top, -1 for none.
    int resume_section = -1;
    int layout_mode = 1;
    boost::shared_ptr<cl::ui::picture> weather_tile;
    boost::shared_ptr<cl::ui::picture> tipline_tile;
    platform::POINT pen_down_point{-1, -1};
    std::vector<boost::shared_ptr<cl::ui::async_picture>> section_pictures;
    bool pictures_noted = false;
    // The news clip's address; the page offers it only when config.xml names one.
    std::wstring clip;
};

} // namespace zor
