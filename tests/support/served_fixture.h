#pragma once

#include "content/content_state.h"
#include "loop/event.h"
#include "platform/clock.h"
#include "support/frame_ticks.h"
#include "support/graphics_fixture.h"
#include "support/temp_folder.h"
#include "support/test_http_server.h"
#include "ui/list_box_base.h"
#include "utils/function.h"

#include <string>
#include <vector>

// A panel window with the installed pictures in portrait, a content server on loopback and, once start() has
// named it in the configuration, the model loading from it on the loading thread.
class served_fixture : public graphics_fixture {
public:
    // Real time for the loading thread, with nothing to tick.
    void update(unsigned long) {}

protected:
    void SetUp() override;
    void TearDown() override;
    // Makes <internet> with the server and these elements the configuration, then starts the model. Routes
    // may be added before or after.
    void start(const std::string& elements);
    // The server named as the weather server too, for start().
    std::string weather_here() const;

    template <class Content>
    bool frames_until(Content& c, const std::function<bool()>& condition, int limit = until_done) {
        return tick_until(c, now, condition, limit);
    }
    template <class Content>
    void frames(Content& c, int n) {
        tick_until(
            c, now, [] { return false; }, n);
    }
    // Presses the pen on the content and lifts it dx to the right.
    template <class Content>
    void tap(Content& c, int x, int y, int dx = 0) {
        c.process_event(cl::app::event(cl::app::event::pen_down, 0, x, y));
        c.process_event(cl::app::event(cl::app::event::pen_up, 0, x + dx, y));
    }
    // Requests served whose target starts with the prefix.
    int requests_for(const std::string& prefix);
    // A failed load is asked for again once the quiet frames are over, not at every frame.
    template <class Content>
    void expect_asked_again_after(Content& c, const std::string& prefix, int quiet_frames,
                                  int limit = until_done) {
        const int failed = requests_for(prefix);
        frames(c, quiet_frames);
        EXPECT_EQ(requests_for(prefix), failed);
        EXPECT_TRUE(frames_until(
            c, [&] { return requests_for(prefix) > failed; }, limit));
    }
    // The rows' keys, with the rows of an inner list indented under theirs.
    static std::vector<std::wstring> keys(const cl::ui::list_box_base& list);
    // Collects what the content asks the controller to show into asked.
    template <class Content>
    void listen(Content& c) {
        c.request.connect(
            utils::function1<void, zor::content_state>([this](zor::content_state s) { asked.push_back(s); }));
    }

    // Frame times run ahead of the tick count from where it is, as the loading thread stamps with it.
    unsigned long now = platform::tick_count();
    test_http_server server;
    temp_folder folder;
    std::vector<zor::content_state> asked;

private:
    bool started = false;
};
