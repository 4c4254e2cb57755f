#pragma once

#include "platform/media_player.h"
#include "ui/control_base.h"
#include "ui/progress_bar.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace cl {
namespace ui {

// Plays one clip: the video in a child window over the upper half of the control, a progress bar and the
// elapsed and total time in the lower half. When the clip cannot be played the control stays inert and
// shows zero times.
class video_player : public control_base {
public:
    // Runs a job off the frame loop.
    using job_runner = std::function<void(std::function<void()>)>;

    // With a runner the clip is opened by a job it runs, and the control stays inert until the next update
    // after the job is done; without one the clip is opened at once.
    video_player(platform::HWND owner, const std::wstring& file,
                 const platform::media_player::options& opts = platform::media_player::options(),
                 const job_runner& run_elsewhere = job_runner());
    ~video_player() override;

    bool play();
    bool pause();
    // Stops and rewinds.
    bool stop();
    int state() const { return media_state; }
    // While the panel is paused a playing clip holds still; it plays on when the panel resumes, unless
    // the user chose otherwise in between.
    void suspend();
    void resume();

    // The video window's own visibility.
    bool is_visible() const override;
    void set_visible(bool on) override;
    // The lower half: what is hit and drawn here, the window covering the upper half.
    platform::RECT get_rect() const override { return controls_rect; }
    void set_rect(const platform::RECT& r) override;
    void update(unsigned long now_ms) override;
    void layout() override {}
    void draw(i_graphics& g, bool force) override;

    // The clip is being opened elsewhere; a play asked for meanwhile starts it once it is open.
    bool is_opening() const { return opening; }
    bool is_ready() const { return ready; }
    bool is_rendered() const { return rendered; }
    platform::RECT get_video_rect() const { return video_rect; }
    const progress_bar& get_progress() const { return *progress; }
    // Position / duration as "mm:ss / mm:ss".
    std::wstring time_label() const;
    platform::HWND video_window() const;

    // Whole percent of the clip played; 0 while the length is unknown.
    static int percent(std::int64_t position, std::int64_t duration);
    // Minutes with at least two digits, ":", two-digit seconds; 100-nanosecond units.
    static std::wstring format_time(std::int64_t time);

private:
    // Dirty when the times or the bar would show something else than they last did.
    void check_shown();
    bool usable() const { return ready && rendered; }
    struct render_job;
    void open();
    void read_duration();
    std::int64_t current_position() const;
    // Where the time label is drawn, just above the bar.
    platform::RECT time_rect() const;

    platform::HWND owner;
    platform::RECT video_rect;
    // The part of the upper half the picture's window covers.
    platform::RECT picture_rect;
    platform::RECT controls_rect;
    std::shared_ptr<platform::media_player> media;
    std::shared_ptr<render_job> job;
    int duration_minutes = 0;
    int duration_seconds = 0;
    std::int64_t duration = 0;
    bool ready = false;
    bool rendered = false;
    std::wstring file;
    bool opening = false;
    bool play_when_open = false;
    bool placed = false;
    bool shown = true;
    int media_state = 0;
    bool play_on_resume = false;
    std::unique_ptr<progress_bar> progress;
    std::wstring drawn_label;
    int drawn_percent = -1;
};

} // namespace ui
} // namespace cl
