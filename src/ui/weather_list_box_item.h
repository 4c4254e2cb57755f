#pragma once

#include "ui/simple_list_box.h"

#include <string>

namespace cl {
namespace ui {

// One forecast day of a city on the weather page: three lines (day, maximum, minimum) and the weather
// icon, or " Loading ..." until the forecast has arrived.
class weather_list_box_item : public i_list_box_item {
public:
    static constexpr platform::COLORREF background = 0xAAAAAA;
    static constexpr int line_height = 28;
    static const wchar_t* const loading_text;

    weather_list_box_item(const font_ptr& font, int row_height);

    // Fills the row; a null icon leaves its place empty.
    void set_data(const std::wstring& line1, const std::wstring& line2, const std::wstring& line3,
                  const image_ptr& icon);
    bool is_loaded() const { return loaded; }
    const std::wstring& line(int i) const { return lines[i]; }

    void update(unsigned long) override {}
    void layout() override;
    void draw(i_graphics& g, bool force) override;

    void set_selected(bool) override {}
    bool is_selected() const override { return false; }
    void set_tag(int, int) override {}
    std::wstring type_name() const override { return L"weather_list_box_item"; }
    std::wstring text() const override { return std::wstring(); }

private:
    platform::RECT line_rects[3]{};
    font_ptr font;
    int row_height;
    bool loaded = false;
    std::wstring lines[3];
    image_ptr icon;
};

} // namespace ui
} // namespace cl
