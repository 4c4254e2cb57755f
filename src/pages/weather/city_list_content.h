#pragma once

#include "content/i_page_content.h"
#include "model/weather/weather.h"
#include "ui/scrollable_listbox.h"
#include "utils/trackable.h"

#include <boost/noncopyable.hpp>

#include <string>

namespace zor {

class options;
namespace ui {
class command_bar;
}

// The cities the server found for the text typed on the add-city page, two lines each (name and country).
// Choosing one offers "Add", which appends it to the user's list and goes back to the weather page.
class city_list_content : public i_page_content, public utils::trackable, private boost::noncopyable {
public:
    static const wchar_t* const empty_text;
    static const wchar_t* const add_command;

    // The command bar may be null (no commands).
    city_list_content(const std::wstring& query, options* opts, ui::command_bar* commands);

    bool is_loaded() const override { return built; }
    bool is_failed() const override { return !built && search && search->is_failed(); }
    std::wstring page_name() const override { return L"weather_item"; }
    std::wstring title() const override { return L"Add city"; }
    std::wstring name() const override { return L"city_list"; }
    platform::COLORREF color() const override { return 0xDCC328; }
    content_state get_state() const override { return content_state(page_name(), name(), query); }
    void deactivate() override;

    bool is_dirty() const override { return dirty || list.is_dirty(); }
    void set_rect(const platform::RECT& r) override;
    void update(unsigned long now_ms) override;
    void layout() override { list.layout(); }
    void draw(cl::ui::i_graphics& g, bool force) override;
    void process_event(const cl::app::event& e) override { list.process_event(e); }
    void scroll_y(int dy) override { list.scroll_y(dy); }

    // "Add": the chosen city joins the user's list, then the weather page comes back.
    void on_command(std::wstring label);

    cl::ui::list_box2& results() { return list; }
    bool is_empty() const { return empty; }

private:
    void fill();

    std::wstring query;
    weather::search_ptr search;
    cl::ui::list_box2 list;
    options* opts;
    ui::command_bar* commands;
    std::wstring chosen_name;
    std::wstring chosen_id;
    std::uint32_t requested_at = 0;
    bool requested = false;
    bool built = false;
    bool empty = false;
};

} // namespace zor
