#pragma once

#include "content/i_page_content.h"
#include "pages/weather/forecast_refresh.h"
#include "ui/move_list_box_item.h"
#include "ui/scrollable_listbox.h"
#include "ui/simple_list_box.h"
#include "ui/weather_list_box_item.h"
#include "utils/trackable.h"

#include <boost/make_shared.hpp>
#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zor {

class options;
namespace ui {
class command_bar;
}

// The five rows the weather page shows for one item of its selector; the forecast rows of a city are also
// kept as `days` so they can be filled.
struct weather_item_container {
    std::vector<boost::shared_ptr<cl::ui::i_list_box_item>> rows;
    std::vector<cl::ui::weather_list_box_item*> days;
};

// The main "Weather" page: a selector of "World View", "Add city" and the user's cities on the left, and
// five rows on the right showing what the selected item offers (pictures, or the city's five-day forecast).
// The rows of a newly selected item slide in after the previous ones have been wiped away one after
// another. A first tap focuses an item, a second opens it; "Remove city" drops the selected city.
class weather_content : public i_page_content, public utils::trackable, private boost::noncopyable {
public:
    static constexpr int selector_width = 300;
    static constexpr int row_count = 5;
    static constexpr int row_height = 96;
    static const wchar_t* const world_view_key;
    static const wchar_t* const add_city_key;
    static const wchar_t* const remove_command;

    // The command bar may be null (no commands).
    weather_content(options* opts, ui::command_bar* commands);
    ~weather_content() override;

    // A city left the user's list (its id).
    utils::signal<utils::function1<void, std::wstring>> city_removed;

    bool is_loaded() const override { return loaded; }
    bool is_failed() const override { return failed && !loaded; }
    std::wstring page_name() const override { return L"weather"; }
    std::wstring title() const override { return L"Weather"; }
    std::wstring name() const override { return L"weather"; }
    platform::COLORREF color() const override { return 0xDCC328; }
    void activate() override;
    void deactivate() override;

    bool is_dirty() const override { return dirty || selector.is_dirty() || rows.is_dirty(); }
    void set_rect(const platform::RECT& r) override;
    void update(unsigned long now_ms) override;
    void layout() override;
    void draw(cl::ui::i_graphics& g, bool force) override;
    void process_event(const cl::app::event& e) override;
    // A drag scrolls the side it began on: the selector, or the rows when they do not fit (landscape).
    void scroll_y(int dy) override;
    // The selected item is kept in the state, so back and a turn of the screen come back to it.
    content_state get_state() const override {
        return content_state(page_name(), name(), loaded ? current : resume_key);
    }
    void resume(const content_state& s) override;

    // The unit system changed: the forecasts are written again.
    void refresh_texts();
    // Handles a left-button command (only "Remove city" is this page's).
    void on_command(std::wstring label);

    cl::ui::list_box2& items() { return selector; }
    const std::wstring& current_key() const { return current; }
    // The key whose rows the panel shows (it follows the selection once the old rows are wiped away).
    const std::wstring& shown_key() const { return previous; }
    const weather_item_container* container(const std::wstring& key) const;
    const cl::ui::move_list_box_item& row(int i) const { return *row_fade[i]; }
    const cl::ui::simple_list_box& row_box() const { return rows; }

private:
    void build();
    bool is_city(const std::wstring& key) const;
    void add_item(const std::wstring& key, const std::wstring& caption,
                  const boost::shared_ptr<weather_item_container>& rows_of_item);
    void fill_city(const std::wstring& id);
    void show_command();
    void on_selected(std::wstring key);
    void on_activated(std::wstring key);
    void on_rows_gone(std::wstring);
    void show_container(bool slide);

    options* opts;
    ui::command_bar* commands;
    cl::ui::list_box2 selector;
    cl::ui::simple_list_box rows;
    std::map<std::wstring, boost::shared_ptr<weather_item_container>> containers;
    std::map<std::wstring, std::int64_t> shown_stamp;
    std::wstring current;
    std::wstring previous;
    std::wstring removed;
    std::vector<boost::shared_ptr<cl::ui::move_list_box_item>> row_fade;
    boost::shared_ptr<weather_item_container> on_panel;
    forecast_refresh refresh;
    bool failed = false;
    bool loaded = false;
    bool active = false;
    bool pressed_on_rows = false;
    std::wstring resume_key;
};

} // namespace zor
