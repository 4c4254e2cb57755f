#pragma once

#include "model/weather/weather.h"
#include "pages/maps/label_layout.h"
#include "pages/maps/map_content.h"
#include "ui/font.h"

#include <string>
#include <vector>

namespace zor {

class options;
namespace ui {
class command_bar;
}

// One zone of a continent with its cities' current temperatures. Each city has a label (a red temperature
// box and a white name box) near its place; labels never cover each other. "Add city" puts the focused city
// in the user's list; a second tap on the focused city opens its forecast.
class zone_map_content : public map_content {
public:
    static const wchar_t* const add_command;
    // The widest temperature a label is made for.
    static const wchar_t* const temperature_sample;
    static constexpr int box_padding = 6;
    static constexpr platform::COLORREF temperature_colour = 0x0908CC;

    struct city_entry {
        std::wstring key;
        std::wstring name;
        std::wstring temperature;
        // Anchor and box are on the map picture.
        map_label label;
    };

    // params: region code, region name, zone key.
    zone_map_content(const std::vector<std::wstring>& params, options* opts, ui::command_bar* commands);

    std::wstring page_name() const override { return L"zone_map_content"; }
    std::wstring name() const override { return zone_key; }
    // The zone's name from its region's document, else the region's: the tab never stands empty.
    std::wstring title() const override { return zone_title.empty() ? region_name : zone_title; }
    content_state get_state() const override {
        return content_state(page_name(), region_code, region_name, zone_key);
    }
    void update(unsigned long now_ms) override;
    void draw(cl::ui::i_graphics& g, bool force) override;
    void deactivate() override;
    // A region that loaded after this frame's update has not been searched for the zone yet: not a failure.
    bool is_failed() const override;

    std::size_t item_count() const override { return cities.size(); }
    platform::RECT item_box(std::size_t i) const override { return cities.at(i).label.box; }
    const std::vector<city_entry>& city_list() const { return cities; }
    // The labels wait for the first draw, which has the font's measures.
    bool labels_pending() const { return layout_labels; }

    // "Add city": the focused city joins the user's list.
    void on_command(std::wstring label);

protected:
    void request_map() override;
    boost::shared_ptr<cl::i_async_info_object> geo_object() const override;
    boost::shared_ptr<cl::ui::async_picture> map_picture() const override;
    void build_items() override;
    void drop_items() override { cities.clear(); }
    bool item_shown(std::size_t i) const override { return cities.at(i).label.shown; }
    void open_focused() override;
    void on_enter() override { show_command(); }
    void focus_changed() override { show_command(); }
    void draw_items(cl::ui::i_graphics& g, int x, int y) override;

private:
    void find_zone();
    void place(cl::ui::i_graphics& g);
    void show_command();
    void draw_label(cl::ui::i_graphics& g, const city_entry& c, int dx, int dy);
    std::wstring temperature_text(const std::wstring& celsius) const;

    std::wstring region_code;
    std::wstring region_name;
    std::wstring zone_key;
    std::wstring zone_title;
    weather::region_ptr region;
    weather::zone_ptr zone;
    // find_zone ran on the loaded region (whether or not the zone was there).
    bool zone_looked_up = false;
    std::vector<city_entry> cities;
    cl::ui::font_ptr font;
    bool layout_labels = true;
    options* opts;
    ui::command_bar* commands;
    bool command_shown = false;
};

} // namespace zor
