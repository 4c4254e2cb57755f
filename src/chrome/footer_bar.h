#pragma once

#include "chrome/tap_tracker.h"
#include "ui/control_base.h"
#include "ui/picture.h"
#include "utils/signal.h"

#include <map>
#include <string>
#include <vector>

namespace zor {
namespace ui {

// The footer of the main page: the names of the first six news categories and the citizen-report link,
// painted in its picture, with a hot area over each.
class footer_bar : public cl::ui::control_base {
public:
    static constexpr int link_count = 7;
    struct link {
        platform::RECT area; // screen coordinates
        std::wstring page;
        std::wstring name;
    };

    // The names of the news categories in model order; the first six become links 0 to 5.
    explicit footer_bar(const std::vector<std::wstring>& categories);

    // ("headlines", category name), or ("headlines", "Tip-Line") for the citizen report.
    utils::signal<utils::function2<void, std::wstring, std::wstring>> clicked;

    void update(unsigned long) override {}
    // Sits at the bottom of its rectangle, as high as its picture; two rows of links in portrait.
    void layout() override;
    void draw(cl::ui::i_graphics& g, bool force) override;
    void on_pen_down(const platform::POINT& p) override;
    void on_pen_up(const platform::POINT& p) override;

    bool has_two_rows() const { return two_rows; }
    // Null for a link without a category.
    const link* link_at(int index) const;

private:
    cl::ui::picture background;
    bool two_rows = true;
    std::map<int, link> links;
    int pressed = -1;
    tap_tracker tap;
};

} // namespace ui
} // namespace zor
