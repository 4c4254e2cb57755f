#include "platform/compositor.h"
#include "platform/png_writer.h"
#include "platform/sdl_display.h"
#include "platform/window_system.h"
#include "support/window_fixture.h"

#include <SDL.h>
#include <cstdlib>

namespace {

using namespace platform;

void fill(HWND h, std::uint16_t colour) {
    auto s = get_window_surface(h);
    std::lock_guard<std::mutex> lock(s->mutex());
    s->fill(colour);
}

std::uint16_t at(const screen_image& img, int x, int y) {
    return img.pixels[y * img.width + x];
}

class surfaces : public window_fixture {
protected:
    void SetUp() override {
        window_fixture::SetUp();
        register_window_class(L"S");
    }
};

TEST_F(surfaces, resizing_keeps_the_pixels_that_still_fit) {
    window_surface s(4, 3);
    s.pixels()[1 * 4 + 2] = 0x1234;
    s.pixels()[2 * 4 + 3] = 0x5678;
    s.resize(3, 5);
    EXPECT_EQ(s.width(), 3);
    EXPECT_EQ(s.pixels()[1 * 3 + 2], 0x1234);
    EXPECT_EQ(s.pixels()[4 * 3 + 2], 0);
    s.resize(-5, 100000);
    EXPECT_EQ(s.width(), 0);
    EXPECT_EQ(s.height(), 8192);
}

TEST_F(surfaces, children_are_composed_over_their_parent_and_clipped_to_it) {
    HWND top = create_window(0, L"S", L"", WS_VISIBLE, 0, 0, 480, 800, nullptr, nullptr);
    HWND child = create_window(0, L"S", L"", WS_VISIBLE | WS_CHILD, 0, 52, 480, 800, top, nullptr);
    HWND hidden = create_window(0, L"S", L"", WS_CHILD, 0, 0, 10, 10, top, nullptr);
    fill(top, 0x1111);
    fill(child, 0x2222);
    fill(hidden, 0x3333);
    std::uint64_t before = screen_generation();
    move_window(child, 0, 52, 480, 800, true);
    get_window_surface(child)->touch();
    EXPECT_NE(screen_generation(), before);

    screen_image img = compose_screen();
    ASSERT_EQ(img.width, 480);
    ASSERT_EQ(img.height, 800);
    EXPECT_EQ(at(img, 0, 0), 0x1111);
    EXPECT_EQ(at(img, 5, 5), 0x1111); // the hidden child is not drawn
    EXPECT_EQ(at(img, 0, 51), 0x1111);
    EXPECT_EQ(at(img, 0, 52), 0x2222);
    EXPECT_EQ(at(img, 479, 799), 0x2222);

    screen_image panel = compose_window(child);
    EXPECT_EQ(panel.height, 800);
    EXPECT_EQ(at(panel, 0, 0), 0x2222);
}

// The colours written are checked where the pictures are read back: the tour's shots and the generated
// assets.
TEST_F(surfaces, png_writing_fails_without_a_folder_or_pixels) {
    screen_image img;
    img.width = 1;
    img.height = 1;
    img.pixels = {0};
    EXPECT_FALSE(write_png("/nonexistent-folder/x.png", img));
    EXPECT_FALSE(write_png("/tmp/empty.png", screen_image{}));
}

TEST_F(surfaces, the_display_turns_mouse_and_keys_into_messages_and_follows_rotation) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    static std::vector<UINT> got;
    got.clear();
    register_window_class(L"D", [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m != WM_PAINT)
            got.push_back(m);
        return def_window_proc(h, m, w, l);
    });
    HWND top = create_window(0, L"D", L"", WS_VISIBLE, 0, 0, 480, 800, nullptr, nullptr);
    set_focus(top);
    got.clear();

    platform::sdl_display display("test");
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = 10;
    e.button.y = 60;
    SDL_PushEvent(&e);
    for (SDL_Keycode key : {SDLK_F1, SDLK_F5}) {
        e = SDL_Event{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = key;
        SDL_PushEvent(&e);
    }
    e = SDL_Event{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);

    std::vector<host_event> events = display.pump();
    EXPECT_EQ(events, (std::vector<host_event>{host_event::rotate, host_event::quit}));
    pump();
    EXPECT_EQ(got, (std::vector<UINT>{WM_LBUTTONDOWN, WM_KEYDOWN}));
    display.present();
    set_screen_size(800, 480);
    display.resize_to_screen();
    display.present();
}

} // namespace
