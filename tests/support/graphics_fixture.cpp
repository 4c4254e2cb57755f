#include "support/graphics_fixture.h"

#include "platform/text.h"
#include "platform/window_system.h"
#include "ui/graphics.h"
#include "ui/resources.h"

void graphics_fixture::SetUp() {
    window_fixture::SetUp();
    register_window_class(L"GFX");
    window.attach(
        platform::create_window(0, L"GFX", L"", platform::WS_VISIBLE, 0, 52, 480, 800, nullptr, nullptr));
    g.reset(new ui_impl::gdi_graphics(window));
}

void graphics_fixture::use_installed_pictures() {
    cl::ui::resources::load(platform::from_utf8(ZOR_PANEL_DIR));
    cl::ui::resources::set_portrait(true);
    cl::ui::create_graphics(window);
    shared_graphics = true;
}

void graphics_fixture::TearDown() {
    if (shared_graphics) {
        cl::ui::destroy_graphics();
        cl::ui::resources::set_portrait(true);
    }
    g.reset();
    window_fixture::TearDown();
}

void graphics_fixture::clear(std::uint16_t v) {
    std::fill_n(g->back_buffer(), 800 * 800, v);
}

int graphics_fixture::changed_outside(const platform::RECT& r, std::uint16_t v) const {
    int n = 0;
    for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 800; ++x)
            if ((x < r.left || x >= r.right || y < r.top || y >= r.bottom) && pixel(x, y) != v)
                ++n;
    return n;
}

int graphics_fixture::count(const platform::RECT& r, std::uint16_t colour) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += pixel(x, y) == colour;
    return n;
}

cl::ui::image_ptr graphics_fixture::solid(int w, int h, std::uint16_t colour, std::uint8_t alpha) {
    return cl::ui::image_ptr(new ui_impl::gdi_image(w, h,
                                                    std::vector<std::uint16_t>(std::size_t(w) * h, colour),
                                                    std::vector<std::uint8_t>(std::size_t(w) * h, alpha)));
}
