#pragma once

#include "content/i_page_content.h"
#include "model/weather/weather.h"
#include "pages/weather/detailed_weather_list_box_item.h"
#include "pages/weather/forecast_refresh.h"
#include "ui/affectors.h"
#include "ui/scrollable_listbox.h"
#include "utils/trackable.h"

#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zor {

class options;
namespace ui {
class command_bar;
}

// The forecast of one city day by day, each day with three details that alternate every few seconds
// between temperature, sky and precipitation, and air quality, UV index and wind. A city that is not in the
// user's list can be added from here ("Add city"); the page stays open. The tab above says nothing, so the
// city's name heads the rows.
class detailed_weather_content : public i_page_content, public utils::trackable, private boost::noncopyable {
public:
    using detail_ptr = boost::shared_ptr<detailed_weather_list_box_item>;
    static constexpr std::uint32_t switch_ms = 2800;
    static constexpr double slide_speed = 0.3;
    static constexpr int slide_distance = 60;
    static constexpr int heading_height = 40;
    static const wchar_t* const add_command;

    // name is used when the city is not known yet (neither to the weather model nor to the user's list).
    detailed_weather_content(const std::wstring& id, const std::wstring& name, options* opts,
                             ui::command_bar* commands);

    bool is_loaded() const override;
    bool is_failed() const override;
    std::wstring page_name() const override { return L"weather_item"; }
    std::wstring title() const override { return std::wstring(); }
    std::wstring name() const override { return city_id; }
    platform::COLORREF color() const override { return 0xDCC328; }
    // With the row at the top of the view once the days are scrolled.
    content_state get_state() const override;
    // Shows the days from the row its state kept, once they are there.
    void resume(const content_state& s) override;
    void deactivate() override;

    bool is_dirty() const override { return dirty || list.is_dirty(); }
    // The heading takes the top of r, the days the rest.
    void set_rect(const platform::RECT& r) override;
    void update(unsigned long now_ms) override;
    void layout() override { list.layout(); }
    void draw(cl::ui::i_graphics& g, bool force) override;
    void process_event(const cl::app::event& e) override { list.process_event(e); }
    void scroll_y(int dy) override { list.scroll_y(dy); }

    // "Add city": the city joins the user's list.
    void on_command(std::wstring label);

    cl::ui::list_box2& days() { return list; }
    // The city's name as the model has it, else as the page was asked for it.
    std::wstring heading() const;
    platform::RECT heading_area() const;
    // 0: temperature, sky, precipitation; 1: air quality, UV index, wind.
    int shown_group() const { return group; }
    const std::vector<std::wstring>& day_keys() const { return keys; }
    const std::vector<detail_ptr>& details(int which, const std::wstring& day) const;

private:
    void build();
    // Under the forecast's lock: the day items and their two groups of details.
    void read_days(const std::vector<weather::day_ptr>& forecast);
    void show_group();
    void show_command();

    weather::city_ptr city;
    std::wstring city_id;
    std::wstring city_name;
    options* opts;
    ui::command_bar* commands;
    cl::ui::list_box2 list;
    std::vector<std::wstring> keys;
    std::map<std::wstring, std::vector<detail_ptr>> group_a;
    std::map<std::wstring, std::vector<detail_ptr>> group_b;
    std::map<std::wstring, cl::ui::list_box_base::item_ptr> day_items;
    int group = 0;
    std::int64_t shown_stamp = 0;
    std::uint32_t switched_at = 0;
    bool started = false;
    bool command_shown = false;
    cl::aff::linear_affector slide{slide_speed};
    forecast_refresh refresh;
};

} // namespace zor
