#pragma once

#include "platform/types.h"

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// The class name of the video window: a child window whose surface shows the player's frames, scaled
// to fit with black bars. Registered by the first player that attaches a window.
extern const wchar_t* const video_window_class;

// One clip: a playback graph for a file or an http(s) URL whose decoded frames (RGB565) go into a VIDEO
// child window. Every call but render() comes from one thread (the one that attached the window) and returns
// without waiting for the clip's data: opening, decoding and state changes go on in the framework's own
// threads, whose frames only ever touch the window's surface under its lock.
class media_player {
public:
    enum state_code { stopped = 0, paused = 1, running = 2 };
    // Event codes as the media event interface reports them.
    enum event_code { event_complete = 1, event_error_abort = 3 };

    struct options {
        // Frames follow the clock; tests turn it off to play as fast as the clip decodes.
        bool sync = true;
        // How long the first frame may take, from render() or a start after stop(), before the clip counts
        // as unplayable (seen by next_event).
        unsigned preroll_timeout_ms = 10000;
    };

    media_player();
    ~media_player();
    media_player(const media_player&) = delete;
    media_player& operator=(const media_player&) = delete;

    // Builds the graph and starts decoding the first frame in the background, to rest paused at the start.
    // The first render of a process starts the framework and loads its plug-ins (tens of milliseconds, more
    // on a first run): it may run on another thread, before any other call and handed over with a
    // synchronising flag.
    // False (with error()) when the media framework is missing, the name is neither a path nor a file,
    // http or https URL, or the graph refuses it at once. A source that turns out unreadable or
    // undecodable later, or gives no frame within the time-out, is reported by next_event. Call once.
    bool render(const std::wstring& file_or_url, const options& opts);
    bool render(const std::wstring& file_or_url) { return render(file_or_url, options()); }
    // True from a successful render() until an error ends the clip before its first frame.
    bool is_rendered() const;
    const std::string& error() const;

    // Creates the VIDEO child window of owner with the style (hidden until show_window); false for a bad
    // owner. It takes no input: the pen over the picture goes to the owner. The window is destroyed with
    // the player.
    bool attach_window(HWND owner, DWORD style);
    HWND window() const;
    // In the owner's client coordinates; the last frame is shown again at the new size.
    bool place_window(const RECT& r);
    bool show_window(bool visible);
    bool is_window_visible() const;

    // Each returns whether the graph accepted the change, which completes in the background (run and pause
    // may be asked before the first frame is there); nothing happens unless rendered.
    bool run();
    bool pause();
    // Stops and returns to the start of the clip.
    bool stop();
    // The state last asked for: reached, or the one a pending change is heading for.
    state_code state() const;
    // The graph has reached the state last asked for.
    bool is_settled() const;

    // In 100-nanosecond units; 0 while unknown.
    std::int64_t duration() const;
    std::int64_t position() const;

    // The next end-of-clip or error event without waiting; false when there is none. Call it every frame:
    // it also notices the first frame's time-out and repeats a state change the graph dropped.
    bool next_event(int& code);

    // Frames written into the window so far (previews included).
    std::uint64_t frames_shown() const;

private:
    struct impl;
    std::unique_ptr<impl> p;
};

} // namespace platform
