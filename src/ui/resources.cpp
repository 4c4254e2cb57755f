#include "ui/resources.h"

#include "ui/ui_error.h"
#include "utils/errors.h"

#include <atomic>
#include <map>

namespace cl {
namespace ui {
namespace resources {

namespace {

std::map<std::wstring, std::wstring> table;
std::vector<entry> order;
std::atomic<bool> portrait{true};

void add(const std::wstring& prefix, const std::wstring& key, const wchar_t* portrait_file,
         const wchar_t* landscape_file) {
    if (portrait_file)
        table[key + L"_portrait"] = prefix + portrait_file;
    if (landscape_file)
        table[key + L"_landscape"] = prefix + landscape_file;
    order.push_back(entry{key, portrait_file != nullptr, landscape_file != nullptr});
}

void add_same(const std::wstring& prefix, const std::wstring& key, const std::wstring& file) {
    add(prefix, key, file.c_str(), file.c_str());
}

} // namespace

void load(const std::wstring& folder) {
    table.clear();
    order.clear();
    std::wstring prefix = folder;
    if (!prefix.empty() && prefix.back() != L'/')
        prefix += L'/';
    prefix += L"images/";

    for (const wchar_t* key : {L"arrow_down",
                               L"arrow_left",
                               L"arrow_right",
                               L"arrow_up",
                               L"failed_to_load",
                               L"settings_tickbox_on_selected",
                               L"settings_tickbox_on",
                               L"settings_tickbox_off_selected",
                               L"settings_tickbox_off",
                               L"settings_radio_on_selected",
                               L"settings_radio_on",
                               L"settings_radio_off_selected",
                               L"settings_radio_off",
                               L"checkbox_open_selected",
                               L"checkbox_open",
                               L"checkbox_closed_selected",
                               L"checkbox_closed",
                               L"weather_shadow",
                               L"continent_1",
                               L"warning",
                               L"tipline",
                               L"tipline_link",
                               L"tipline_link_sel",
                               L"video_link",
                               L"video_link_sel",
                               L"weather_link",
                               L"weather_link_sel",
                               L"arrow_left2",
                               L"arrow_right2",
                               L"arrow_right2_s"})
        add_same(prefix, key, std::wstring(key) + L".png");

    for (const wchar_t* key :
         {L"globe_arrow_right", L"globe_arrow_left", L"globe_arrow_up", L"globe_arrow_down"})
        add_same(prefix, key, std::wstring(key) + L".a.png");
    add_same(prefix, L"earth_shade", L"EarthShade210x214.png");
    add_same(prefix, L"scrollbar_slider", L"scrollbar_handle.d.png");
    add_same(prefix, L"click_to_enlarge", L"click_to_enlarge_full.c.png");
    add_same(prefix, L"weatherinfobg", L"weather/weatherinfobg.d.png");

    for (const wchar_t* key :
         {L"background", L"divider", L"panel_inner_shadow", L"top_bar", L"header", L"footer"}) {
        std::wstring p = std::wstring(L"portrait/") + key + L"-p.png";
        std::wstring l = std::wstring(L"landscape/") + key + L"-l.png";
        add(prefix, key, p.c_str(), l.c_str());
    }

    for (const wchar_t* key :
         {L"globe_1",  L"globe_2",  L"globe_3",  L"globe_4",   L"globe_5",  L"city_1",   L"city_2",
          L"city_3",   L"city_4",   L"city_5",   L"state_0",   L"state_1",  L"state_2",  L"state_3",
          L"state_5",  L"state_6",  L"state_7",  L"state_9",   L"state_13", L"state_14", L"state_15",
          L"state_19", L"state_21", L"state_22", L"state_28",  L"state_c6", L"state_c7", L"state_c9",
          L"state_s6", L"state_s7", L"state_s9", L"state_s13", L"state_s14"})
        add_same(prefix, key, std::wstring(L"weather/") + key + L".png");

    for (const wchar_t* key :
         {L"left_border", L"right_border", L"top_border", L"bottom_border", L"left_top_border",
          L"right_top_border", L"left_bottom_border", L"right_bottom_border"})
        add_same(prefix, key, std::wstring(L"border/") + key + L".png");

    for (const wchar_t* key : {L"top_left_corner", L"top_right_corner", L"bottom_right_corner",
                               L"bottom_left_corner", L"focused_top_left_corner", L"focused_top_right_corner",
                               L"focused_bottom_right_corner", L"focused_bottom_left_corner"})
        add_same(prefix, key, std::wstring(L"corners/") + key + L".png");

    for (const wchar_t* key : {L"top_arrow_10x5", L"bottom_arrow_10x5"})
        add_same(prefix, key, std::wstring(L"scroll/") + key + L".png");

    add(prefix, L"home_tipline", nullptr, L"landscape/home_tipline.png");
    add(prefix, L"home_weather", nullptr, L"landscape/home_weather.png");
}

void set_portrait(bool p) {
    portrait = p;
}
bool is_portrait() {
    return portrait;
}

std::wstring path(const std::wstring& key) {
    auto it = table.find(key + (portrait ? L"_portrait" : L"_landscape"));
    if (it == table.end())
        utils::throw_error(res_error("invalid resource id"));
    return it->second;
}

std::vector<entry> keys() {
    return order;
}

} // namespace resources
} // namespace ui
} // namespace cl
