#pragma once

#include "chrome/ticker.h"

#include <boost/shared_ptr.hpp>

#include <cstdint>

namespace cl {
namespace ui {
class async_picture;
}
} // namespace cl

namespace zor {
namespace ui {

// One banner of the advert, scaled to the strip; a tap opens its link in the browser.
class adv_ticker : public ticker {
public:
    static constexpr unsigned long run_time = 5500; // ms

    std::wstring page_name() const override { return L"adv_ticker"; }
    // Ready with its banner downloaded.
    bool is_loaded() const override;
    // The advert or its banner could not be had, or the advert has no banners.
    bool is_failed() const override;

    void clear_text() override;
    void set_text(const std::wstring& t) override;
    void open() override;
    unsigned long run_length(int kind) const override { return kind == 1 ? run_time : 0; }
    std::wstring action_caption() const override { return L"View ad"; }
    void fill() override;

    // Which banner the next fill takes (modulo the banner count).
    void advance(std::uint32_t step) { position += step; }

protected:
    void layout_content() override;
    void draw_content(cl::ui::i_graphics& g) override;

private:
    bool advert_requested = false;
    bool no_banners = false;
    std::uint32_t position = 0;
    boost::shared_ptr<cl::ui::async_picture> banner;
};

} // namespace ui
} // namespace zor
