#pragma once

#include "chrome/ticker.h"
#include "ui/text_block.h"

#include <boost/shared_ptr.hpp>

#include <vector>

namespace news {
class category;
}

namespace zor {
namespace ui {

// A news category's name on its colour, then its latest headlines, one after the other, each sliding up
// into the white text area.
class news_ticker : public ticker {
public:
    static constexpr int max_items = 5;
    static constexpr unsigned long item_time = 5700; // ms per headline
    static constexpr double slide_speed = 0.2;       // pixels per millisecond
    static constexpr int caption_width = 149;
    static constexpr int text_inset = 5;

    struct item {
        std::wstring text;
        std::wstring id;
    };

    news_ticker();
    ~news_ticker() override;

    std::wstring page_name() const override { return L"news_ticker"; }
    // Ready with at least one headline.
    bool is_loaded() const override { return ready && item_count > 0; }
    // The category could not be loaded or has no headlines.
    bool is_failed() const override;
    // The headline on screen, as a headline row would ask for it.
    content_state get_state() const override;

    void set_text(const std::wstring& t) override;
    void clear_text() override;
    void open() override;
    unsigned long run_length(int kind) const override { return kind == 1 ? item_count * item_time : 0; }
    std::wstring action_caption() const override { return L"Read ticker"; }
    void fill() override;
    void next_item() override;
    void update(unsigned long now_ms) override;

    const std::wstring& headline_on_screen() const { return current_text.get_text(); }
    const std::vector<item>& get_items() const { return items; }

protected:
    void layout_content() override;
    void draw_content(cl::ui::i_graphics& g) override;

private:
    void forget();

    boost::shared_ptr<news::category> category;
    std::vector<item> items;
    int item_count = 0;
    int shown = 0;
    int switches = 0; // headlines changed in this run
    platform::RECT caption_area;
    platform::RECT text_area;
    cl::ui::text_block caption;
    cl::ui::text_block current_text;
    cl::ui::text_block next_text;
    int caption_height = 0;
    bool show_next = false;
    cl::aff::linear_affector slide;
};

} // namespace ui
} // namespace zor
