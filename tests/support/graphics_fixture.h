#pragma once

#include "support/window_fixture.h"
#include "ui/base_window.h"
#include "ui/gdi_graphics.h"

#include <memory>

// A panel-sized window in the window system and a graphics back-end drawing for it.
class graphics_fixture : public window_fixture {
protected:
    void SetUp() override;
    void TearDown() override;

    std::uint16_t pixel(int x, int y) const { return g->back_buffer()[y * 800 + x]; }
    void set_pixel(int x, int y, std::uint16_t v) { g->back_buffer()[y * 800 + x] = v; }
    // Loads the installed pictures in portrait and has the process-wide graphics draw into the window;
    // TearDown undoes both.
    void use_installed_pictures();
    void clear(std::uint16_t v);
    // Pixels of the back buffer that differ from v, outside the rectangle.
    int changed_outside(const platform::RECT& r, std::uint16_t v) const;
    // Pixels of the back buffer of the colour, inside the rectangle.
    int count(const platform::RECT& r, std::uint16_t colour) const;

    // A picture of one colour and one alpha value.
    static cl::ui::image_ptr solid(int w, int h, std::uint16_t colour, std::uint8_t alpha);

    struct test_window : cl::ui::base_window {
        void attach(platform::HWND h) { hwnd = h; }
    } window;
    std::unique_ptr<ui_impl::gdi_graphics> g;

private:
    bool shared_graphics = false;
};
