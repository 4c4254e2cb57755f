#pragma once

#include "model/weather/weather.h"
#include "pages/maps/label_layout.h"
#include "pages/maps/map_content.h"

#include <string>
#include <vector>

namespace zor {

// A continent (a weather region) divided into zones: each zone's name stands in its top left corner (the
// focused zone's in red), the focused zone is framed in white; a second tap on it, or Enter, opens its zone
// map.
class continent_map_content : public map_content {
public:
    struct zone_entry {
        std::wstring key;
        platform::RECT rect;
        std::wstring name;
        // On the picture; a zone without a name has no label.
        map_label label;
    };

    static constexpr int label_padding = 10;
    static constexpr int corner_inset = 4;
    static constexpr platform::COLORREF focused_colour = 0x0908CC;

    continent_map_content(const std::wstring& code, const std::wstring& name);

    std::wstring page_name() const override { return L"continent_map_content"; }
    std::wstring name() const override { return region_name; }
    content_state get_state() const override { return content_state(page_name(), region_code, region_name); }
    void free_content() override;

    std::size_t item_count() const override { return zones.size(); }
    platform::RECT item_box(std::size_t i) const override { return zones.at(i).rect; }
    const std::vector<zone_entry>& zone_list() const { return zones; }
    void draw(cl::ui::i_graphics& g, bool force) override;
    // The labels wait for the first draw, which has the font's measures.
    bool labels_pending() const { return layout_labels; }

protected:
    void request_map() override;
    boost::shared_ptr<cl::i_async_info_object> geo_object() const override { return region; }
    boost::shared_ptr<cl::ui::async_picture> map_picture() const override;
    void build_items() override;
    void drop_items() override { zones.clear(); }
    void open_focused() override;
    void draw_items(cl::ui::i_graphics& g, int x, int y) override;

private:
    void place(cl::ui::i_graphics& g);

    std::wstring region_code;
    std::wstring region_name;
    weather::region_ptr region;
    std::vector<zone_entry> zones;
    bool layout_labels = false;
};

} // namespace zor
