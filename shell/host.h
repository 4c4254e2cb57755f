#pragma once

#include "app/panel_abi.h"
#include "platform/types.h"

#include <cstdint>
#include <string>

namespace shell {

// The home screen: a phone-sized window with its own top bar, the panel library loaded into it as a child
// window, and the host side of the panel's protocol (start, pause, resume, stop, rotate).
class host {
public:
    static constexpr int short_side = 480;
    static constexpr int long_side = 800;
    static constexpr int top_bar = 52;

    explicit host(bool landscape);
    ~host();
    host(const host&) = delete;
    host& operator=(const host&) = delete;

    // Loads libzor_panel.so from the folder and creates the panel window; false with a reason.
    bool load_panel(const std::string& folder, std::string& error);
    void start();  // 6026
    void pause();  // 6027
    void resume(); // 6026 again
    // Turns the screen and tells the panel to refit.
    void rotate();
    // 6025, then ordinal 242, then the library is unloaded.
    void stop();

    // Handles every queued message; returns false once the host window is gone or quit was asked for.
    bool pump();
    // Pumps for the given time, waking for messages as they come.
    bool run_for(std::uint32_t ms);
    // Redraws the top bar when the minute changed.
    void tick_clock();

    // Frames in a row with no new content that make the panel settled.
    static constexpr std::uint64_t settle_frames = 4;
    enum class settle_result { settled, timed_out, closed };
    // Pumps until the panel has drawn no new content for settle_frames frames and no load is pending, or
    // until ms have passed. While the panel is paused it draws nothing: only the loads are waited for.
    settle_result settle(std::uint32_t ms) { return settle(panel_hwnd, ms); }
    // The same over the surface of the given window (a stand-in for the panel in tests).
    settle_result settle(platform::HWND drawn, std::uint32_t ms);
    bool paused() const { return is_paused; }

    bool landscape() const { return is_landscape; }
    platform::HWND window() const { return hwnd; }
    platform::HWND panel() const { return panel_hwnd; }

private:
    static platform::LRESULT proc(platform::HWND, platform::UINT, platform::WPARAM, platform::LPARAM);
    void apply_screen();
    void paint();

    bool is_landscape;
    bool quit = false;
    bool is_paused = false;
    int shown_minute = -1;
    platform::HWND hwnd = nullptr;
    platform::HWND sip_button = nullptr;
    platform::HWND sip_keyboard = nullptr;
    platform::HWND panel_hwnd = nullptr;
    void* library = nullptr;
    zor::abi::destroy_panel destroy = nullptr;
};

} // namespace shell
