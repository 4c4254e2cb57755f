#pragma once

#include "ui/list_box_item_base.h"

#include <string>

namespace zor {

// One detail of a forecast day: a caption, its value and an optional icon before the value, or " Loading ..."
// until the value is given. The texts can be drawn shifted right (the rows slide in when they change).
class detailed_weather_list_box_item : public cl::ui::list_box_item_base {
public:
    static constexpr int row_height = 56;
    static const wchar_t* const loading_text;

    detailed_weather_list_box_item(cl::ui::list_box_base* owner, const std::wstring& key,
                                   const std::wstring& caption);

    void set_value(const std::wstring& value, const cl::ui::image_ptr& icon);
    void set_offset(int pixels);
    bool has_value() const { return loaded; }
    const std::wstring& caption() const { return caption_text; }
    const std::wstring& value() const { return value_text; }

    void layout() override;
    void draw_content(cl::ui::i_graphics& g, bool force) override;
    std::wstring type_name() const override { return L"detailed_weather_list_box_item"; }

private:
    std::wstring caption_text;
    std::wstring value_text;
    cl::ui::image_ptr icon;
    int offset = 0;
    bool loaded = false;
};

} // namespace zor
