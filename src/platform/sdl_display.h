#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// What the display tells the host besides pen, keys and text (which it turns into window messages).
enum class host_event { quit, rotate, deactivated, activated };

// A real window on the desktop that shows the composed screen and feeds the pen (left mouse button),
// the keypad (arrows, Enter, F1 and F2 for the two soft keys) and typed text into the window system.
class sdl_display {
public:
    // Throws std::runtime_error when no display can be opened.
    explicit sdl_display(const std::string& title);
    ~sdl_display();
    sdl_display(const sdl_display&) = delete;
    sdl_display& operator=(const sdl_display&) = delete;

    std::vector<host_event> pump();
    // Composes and shows the screen when any window changed since the last call.
    void present();
    // Follows a change of the screen size (rotation).
    void resize_to_screen();

private:
    struct impl;
    std::unique_ptr<impl> d;
};

} // namespace platform
