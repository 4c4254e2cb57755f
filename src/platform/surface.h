#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace platform {

// The RGB565 pixels of one window, shared by the thread that draws into it and the thread that
// presents it. Hold mutex() while reading or writing pixels(); call touch() after a change.
class window_surface {
public:
    window_surface(int width, int height);

    std::mutex& mutex() { return m; }
    int width() const { return w; }
    int height() const { return h; }
    std::uint16_t* pixels() { return px.data(); }
    const std::uint16_t* pixels() const { return px.data(); }
    void fill(std::uint16_t colour);

    // Keeps the pixels that still fit, top-left aligned; new pixels are black. Takes the lock itself.
    void resize(int width, int height);
    // Marks the surface changed, so the presenter composes the screen again.
    void touch();

private:
    std::mutex m;
    int w;
    int h;
    std::vector<std::uint16_t> px;
};

// Changes whenever any surface is touched or any window moves, shows or hides.
std::uint64_t screen_generation();
void bump_screen_generation();

} // namespace platform
