#include "ui/video_player.h"

#include "ui/static_fonts.h"
#include "utils/errors.h"
#include "utils/log.h"

#include <algorithm>
#include <atomic>

namespace cl {
namespace ui {

namespace {
const std::int64_t units_per_second = 10000000;
// Child window with sibling clipping.
const platform::DWORD video_window_style = 0x44000000;

std::wstring two_digits(std::int64_t n) {
    std::wstring s = std::to_wstring(n);
    return s.size() < 2 ? L"0" + s : s;
}
} // namespace

// What a render on another thread hands over: written there before `done` is set.
struct video_player::render_job {
    std::atomic<bool> done{false};
    bool rendered = false;
};

video_player::video_player(platform::HWND owner_window, const std::wstring& clip,
                           const platform::media_player::options& opts, const job_runner& run_elsewhere)
    : owner(owner_window), file(clip) {
    utils::trace_scope trace("cl::ui::video_player::video_player");
    progress.reset(new progress_bar);
    media = std::make_shared<platform::media_player>();
    job = std::make_shared<render_job>();
    if (!run_elsewhere) {
        job->rendered = media->render(file, opts);
        open();
        return;
    }
    // The first clip of a process starts the media framework and loads its plug-ins, which takes longer
    // than a frame. Until the job is done only this control touches the player; the job keeps it alive
    // should the page go first.
    opening = true;
    std::shared_ptr<platform::media_player> m = media;
    std::shared_ptr<render_job> j = job;
    run_elsewhere([m, j, clip, opts] {
        j->rendered = m->render(clip, opts);
        j->done.store(true, std::memory_order_release);
    });
}

// The render has returned; building the graph did not wait for the first frame.
void video_player::open() {
    opening = false;
    rendered = job->rendered;
    if (!rendered)
        utils::log("Video error. " + media->error());
    read_duration();
    ready = media->attach_window(owner, video_window_style);
    if (!usable())
        return;
    if (placed) {
        media->place_window(picture_rect);
        media->show_window(shown);
    }
    if (play_when_open)
        media->run();
    play_when_open = false;
}

video_player::~video_player() {
    // The window goes with the player.
    media.reset();
}

void video_player::read_duration() {
    duration = rendered ? media->duration() : 0;
    const std::int64_t seconds = duration / units_per_second;
    duration_minutes = static_cast<int>(seconds / 60);
    duration_seconds = static_cast<int>(seconds - duration_minutes * 60LL);
}

bool video_player::play() {
    play_on_resume = false;
    if (opening) {
        play_when_open = true;
        return true;
    }
    if (!usable())
        return false;
    media->run();
    return true;
}

bool video_player::pause() {
    play_on_resume = false;
    play_when_open = false;
    return usable() && media->pause();
}

bool video_player::stop() {
    play_on_resume = false;
    play_when_open = false;
    return usable() && media->stop();
}

void video_player::suspend() {
    if (play_when_open) {
        play_when_open = false;
        play_on_resume = true;
    }
    if (usable() && media->state() == platform::media_player::running)
        play_on_resume = pause();
}

void video_player::resume() {
    if (play_on_resume)
        play();
}

bool video_player::is_visible() const {
    return !opening && media->is_window_visible();
}

void video_player::set_visible(bool on) {
    shown = on;
    if (!opening)
        media->show_window(on && usable());
}

// A clip that cannot play still gets its black area, bar and zero times; only the window waits for one.
void video_player::set_rect(const platform::RECT& r) {
    rect = r;
    const int middle = r.top + (r.bottom - r.top) / 2;
    video_rect = platform::RECT{r.left, r.top, r.right, middle};
    controls_rect = platform::RECT{r.left, middle, r.right, r.bottom};
    progress->set_rect(platform::RECT{r.left + 20, r.bottom - 90, r.right - 20, r.bottom - 50});
    // In a low rectangle (landscape) the times above the bar reach into the upper half: the picture stops
    // short of them rather than cover them.
    picture_rect = video_rect;
    picture_rect.bottom = std::max(r.top, std::min(middle, time_rect().top));
    placed = true;
    shown = true;
    if (usable()) {
        media->place_window(picture_rect);
        media->show_window(true);
    }
}

void video_player::update(unsigned long) {
    if (opening && job->done.load(std::memory_order_acquire))
        open();
    if (!usable()) {
        check_shown();
        return;
    }
    int code = 0;
    while (media->next_event(code)) {
        if (code == platform::media_player::event_error_abort)
            utils::log("Video error. " + media->error());
        if (code == platform::media_player::event_complete ||
            code == platform::media_player::event_error_abort)
            stop();
    }
    // The clip turned out unplayable before its first frame: the player goes inert, as when it cannot be
    // rendered at all.
    if (!media->is_rendered()) {
        rendered = false;
        media->show_window(false);
        media_state = 0;
        return;
    }
    if (duration <= 0)
        read_duration();
    media_state = media->state();
    check_shown();
}

void video_player::check_shown() {
    // The picture plays in its own window: the panel draws again only when a time or the bar changes.
    if (drawn_percent != percent(current_position(), duration) || drawn_label != time_label())
        dirty = true;
}

std::int64_t video_player::current_position() const {
    return ready ? media->position() : 0;
}

int video_player::percent(std::int64_t position, std::int64_t length) {
    if (length <= 0 || position <= 0)
        return 0;
    return std::min(100,
                    static_cast<int>(static_cast<double>(position) / static_cast<double>(length) * 100.0));
}

std::wstring video_player::format_time(std::int64_t time) {
    const std::int64_t seconds = std::max<std::int64_t>(0, time) / units_per_second;
    return two_digits(seconds / 60) + L":" + two_digits(seconds % 60);
}

std::wstring video_player::time_label() const {
    return format_time(current_position()) + L" / " + two_digits(duration_minutes) + L":" +
           two_digits(duration_seconds);
}

platform::HWND video_player::video_window() const {
    return opening ? nullptr : media->window();
}

void video_player::draw(i_graphics& g, bool) {
    drawn_percent = percent(current_position(), duration);
    drawn_label = time_label();
    progress->set_progress(drawn_percent);
    g.fill_rect(platform::RECT{rect.left, picture_rect.bottom, rect.right, rect.bottom}, 0x000000);
    progress->draw(g, true);
    g.draw_text(drawn_label, time_rect(), fonts::tahoma_40, 0xFFFFFF, align_left);
    dirty = false;
}

platform::RECT video_player::time_rect() const {
    const int top = progress->get_rect().top;
    return platform::RECT{rect.left + 20, top - 55, rect.left + 400, top - 5};
}

} // namespace ui
} // namespace cl
