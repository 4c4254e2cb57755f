#pragma once

#include <atomic>
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
    // What a touch changed: ornaments are animations that never end (a bouncing arrow), which a host
    // waiting for the picture to settle looks through.
    enum class change { content, ornament };
    // Marks the surface changed, so the presenter composes the screen again.
    void touch(change what = change::content);
    // How many touches changed content.
    std::uint64_t content_changes() const { return changes.load(); }

private:
    std::mutex m;
    int w;
    int h;
    std::vector<std::uint16_t> px;
    std::atomic<std::uint64_t> changes{0};
};

// Changes whenever any surface is touched or any window moves, shows or hides.
std::uint64_t screen_generation();
void bump_screen_generation();

} // namespace platform
