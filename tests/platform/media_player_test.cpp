// The media player against clips the suite makes itself, played as fast as they decode.
#include "platform/input.h"
#include "platform/media_player.h"
#include "platform/text.h"
#include "platform/window_system.h"
#include "support/clip_maker.h"
#include "support/temp_folder.h"
#include "support/test_http_server.h"
#include "support/window_fixture.h"

#include <future>

namespace {

using platform::media_player;
using platform::RECT;

const std::int64_t second = 10000000;

class media_player_test : public window_fixture {
protected:
    void SetUp() override {
        window_fixture::SetUp();
        // Made once: two seconds of red at 10 frames a second; a minute of colour bars.
        static const bool made = make_clip(clips().file("red.ogg"), 20, 10, "red") &&
                                 make_clip(clips().file("long.ogg"), 600, 10, "smpte");
        ASSERT_TRUE(made) << "the test clips could not be made";
        platform::register_class({0, platform::def_window_proc, nullptr, L"media_test_owner"});
        owner = platform::create_window(0, L"media_test_owner", L"", platform::WS_VISIBLE, 0, 0, 480, 800,
                                        nullptr, nullptr);
    }
    static const temp_folder& clips() {
        static const temp_folder dir;
        return dir;
    }
    static std::wstring clip(const std::string& name) { return platform::from_utf8(clips().file(name)); }
    static media_player::options fast() {
        media_player::options o;
        o.sync = false;
        return o;
    }
    static bool wait_end(media_player& p) { return wait_event(p) == media_player::event_complete; }
    // The next end-of-clip or error event (0 for none in time), reading the player's events as a frame
    // does.
    static int wait_event(media_player& p) {
        int code = 0;
        return eventually([&] { return p.next_event(code); }, std::chrono::seconds(20)) ? code : 0;
    }
    // Until the graph reaches the state last asked for.
    static bool wait_settled(media_player& p) {
        int code = 0;
        return eventually([&] { return !p.next_event(code) && p.is_settled(); }, std::chrono::seconds(20));
    }
    // A second clip playing on the clock: its frames measure out a stretch of playing time that stretches
    // with the machine's load, as the first clip's frames would.
    static bool witness_frames(std::uint64_t n) {
        media_player witness;
        if (!witness.render(clip("long.ogg")) || !witness.run())
            return false;
        return eventually([&] { return witness.frames_shown() > n; }, std::chrono::seconds(20));
    }
    static std::uint16_t probe(platform::HWND w, int x, int y) {
        auto s = platform::get_window_surface(w);
        std::lock_guard<std::mutex> lock(s->mutex());
        return s->pixels()[y * s->width() + x];
    }
    static bool is_red(std::uint16_t px) {
        return (px >> 11) >= 27 && ((px >> 5) & 0x3F) <= 8 && (px & 0x1F) <= 4;
    }

    platform::HWND owner = nullptr;
};

TEST_F(media_player_test, plays_a_clip_to_its_end_into_the_window_as_rgb565_keeping_its_shape) {
    media_player p;
    ASSERT_TRUE(p.render(clip("red.ogg"), fast())) << p.error();
    // Opened in the background; stopped for the caller meanwhile.
    EXPECT_EQ(p.state(), media_player::stopped);
    ASSERT_TRUE(wait_settled(p));
    EXPECT_NEAR(static_cast<double>(p.duration()), 2.0 * second, 0.11 * second);
    EXPECT_EQ(p.position(), 0);
    EXPECT_EQ(p.state(), media_player::stopped);

    ASSERT_TRUE(p.attach_window(owner, platform::WS_CHILD));
    EXPECT_EQ(platform::get_parent(p.window()), owner);
    EXPECT_EQ(platform::get_class_name(p.window()), L"VIDEO");
    EXPECT_FALSE(p.is_window_visible());
    // The first frame is there before playing; 160 x 120 in 480 x 120 is centred between black bars.
    ASSERT_TRUE(p.place_window(RECT{0, 0, 480, 120}));
    EXPECT_EQ(probe(p.window(), 20, 60), 0);
    EXPECT_EQ(probe(p.window(), 460, 60), 0);
    EXPECT_TRUE(is_red(probe(p.window(), 240, 60))) << std::hex << probe(p.window(), 240, 60);
    ASSERT_TRUE(p.place_window(RECT{10, 20, 170, 140}));
    p.show_window(true);
    EXPECT_TRUE(p.is_window_visible());

    ASSERT_TRUE(p.run());
    ASSERT_TRUE(wait_end(p));
    EXPECT_GE(p.frames_shown(), 10u);
    EXPECT_GT(p.position(), 1 * second);
    EXPECT_TRUE(is_red(probe(p.window(), 80, 60)));
    ASSERT_TRUE(p.stop());
    EXPECT_EQ(p.state(), media_player::stopped);
    EXPECT_EQ(p.position(), 0);
    // Playing again starts over and reaches the end a second time.
    ASSERT_TRUE(p.run());
    EXPECT_TRUE(wait_end(p));
}

TEST_F(media_player_test, pauses_keeps_its_place_and_stops_promptly_while_playing) {
    media_player p;
    ASSERT_TRUE(p.render(clip("long.ogg"))) << p.error();
    ASSERT_TRUE(wait_settled(p));
    EXPECT_NEAR(static_cast<double>(p.duration()), 60.0 * second, 0.11 * second);
    ASSERT_TRUE(p.attach_window(owner, platform::WS_CHILD));
    p.place_window(RECT{0, 0, 160, 120});
    ASSERT_TRUE(p.run());
    ASSERT_TRUE(eventually([&] { return p.state() == media_player::running && p.position() > second / 2; }));

    ASSERT_TRUE(p.pause());
    EXPECT_EQ(p.state(), media_player::paused);
    // The change completes on the streaming thread; once it has, nothing may move while half a second of
    // another clip plays.
    ASSERT_TRUE(wait_settled(p));
    const std::int64_t held = p.position();
    EXPECT_GT(held, 0);
    const std::uint64_t frames = p.frames_shown();
    ASSERT_TRUE(witness_frames(5));
    EXPECT_EQ(p.position(), held);
    EXPECT_EQ(p.frames_shown(), frames);

    ASSERT_TRUE(p.run());
    ASSERT_TRUE(eventually([&] { return p.position() > held; }));
    // Stopping in the middle of the clip must not wait for it to end.
    auto stopped = std::async(std::launch::async, [&] { return p.stop(); });
    ASSERT_EQ(stopped.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_TRUE(stopped.get());
    EXPECT_EQ(p.state(), media_player::stopped);
    EXPECT_EQ(p.position(), 0);
    int code = 0;
    EXPECT_FALSE(p.next_event(code));
}

// Some sources are refused by render() itself, others only once the graph has looked at them: either way
// the player ends inert, with a reason.
TEST_F(media_player_test, unplayable_sources_fail_cleanly) {
    temp_folder dir;
    dir.write("garbage.ogg", std::string(4096, '\x5a') + "OggS but not really");
    dir.write("empty.ogg", "");
    for (const std::wstring& source :
         {clip("missing.ogg"), platform::from_utf8(dir.file("garbage.ogg")),
          platform::from_utf8(dir.file("empty.ogg")), std::wstring(), std::wstring(L"fd://0"),
          std::wstring(L"appsrc://x"), std::wstring(L"http://127.0.0.1:1/clip.ogg")}) {
        SCOPED_TRACE(platform::to_utf8(source));
        media_player p;
        if (p.render(source, fast())) {
            EXPECT_EQ(wait_event(p), media_player::event_error_abort);
        }
        EXPECT_FALSE(p.is_rendered());
        EXPECT_FALSE(p.error().empty());
        EXPECT_FALSE(p.run());
        EXPECT_FALSE(p.pause());
        EXPECT_FALSE(p.stop());
        EXPECT_EQ(p.state(), media_player::stopped);
        EXPECT_EQ(p.duration(), 0);
        EXPECT_EQ(p.position(), 0);
        int code = 0;
        EXPECT_FALSE(p.next_event(code));
    }
}

// Nothing the player is asked waits for the server: building it, starting, and pressing pause and play
// over and over all return while the server still holds the clip, which then opens paused on its first
// frame and plays to its end.
TEST_F(media_player_test, a_slow_server_holds_up_neither_building_nor_the_buttons) {
    test_http_server server;
    server.add_route("/clip.ogg", clips().read("red.ogg"));
    server.hold("/clip.ogg");
    const std::wstring url = L"http://" + server.host() + L"/clip.ogg";

    media_player p;
    ASSERT_TRUE(p.render(url, fast())) << p.error();
    ASSERT_TRUE(p.attach_window(owner, platform::WS_CHILD));
    auto buttons = std::async(std::launch::async, [&] {
        for (int i = 0; i < 20; ++i)
            if (!p.run() || !p.pause())
                return false;
        return true;
    });
    const bool returned = buttons.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    const std::uint64_t frames_while_held = p.frames_shown();
    server.release("/clip.ogg");
    ASSERT_TRUE(returned) << "pressing the buttons waited for the server";
    EXPECT_TRUE(buttons.get());
    EXPECT_EQ(frames_while_held, 0u);
    EXPECT_EQ(p.state(), media_player::paused);

    ASSERT_TRUE(wait_settled(p)) << p.error();
    EXPECT_EQ(p.state(), media_player::paused) << p.error();
    EXPECT_GE(p.frames_shown(), 1u);
    ASSERT_TRUE(p.run());
    EXPECT_TRUE(wait_end(p));
}

// A server that never sends the clip: leaving the player while it waits does not wait for the server, and
// after the time-out the player gives up by itself.
TEST_F(media_player_test, a_clip_that_never_arrives_neither_holds_up_leaving_nor_lasts_for_ever) {
    test_http_server server;
    server.hold("/clip.ogg");
    const std::wstring url = L"http://" + server.host() + L"/clip.ogg";
    // Whether tearing the player down returns while the server holds its request.
    auto leaves_while_held = [&](std::unique_ptr<media_player> p) {
        auto gone = std::async(std::launch::async, [&] { p.reset(); });
        if (gone.wait_for(std::chrono::seconds(10)) == std::future_status::ready)
            return true;
        server.release("/clip.ogg");
        return false;
    };

    auto waiting = std::make_unique<media_player>();
    ASSERT_TRUE(waiting->render(url, fast())) << waiting->error();
    ASSERT_TRUE(waiting->run());
    ASSERT_TRUE(eventually([&] { return server.held() == 1; }));
    const bool left = leaves_while_held(std::move(waiting));

    media_player::options o = fast();
    o.preroll_timeout_ms = 200;
    auto late = std::make_unique<media_player>();
    ASSERT_TRUE(late->render(url, o)) << late->error();
    ASSERT_TRUE(late->run());
    ASSERT_TRUE(eventually([&] { return server.held() == 2; }));
    const int code = wait_event(*late);
    const bool rendered = late->is_rendered();
    const bool runs = late->run();
    const bool left_late = leaves_while_held(std::move(late));
    server.release("/clip.ogg");

    EXPECT_TRUE(left) << "the player waited for the server as it went";
    EXPECT_EQ(code, media_player::event_error_abort);
    EXPECT_FALSE(rendered);
    EXPECT_FALSE(runs);
    EXPECT_TRUE(left_late);
}

// The picture takes no input: the pen over it goes to the window beneath, which owns a queue that is read.
TEST_F(media_player_test, the_pen_over_the_picture_reaches_the_owner) {
    media_player p;
    ASSERT_TRUE(p.render(clip("red.ogg"), fast()));
    ASSERT_TRUE(p.attach_window(owner, platform::WS_CHILD));
    ASSERT_TRUE(p.place_window(RECT{10, 20, 170, 140}));
    p.show_window(true);

    platform::pen_down(50, 60);
    platform::pen_move(60, 70);
    platform::pen_up(60, 70);
    std::vector<std::pair<platform::UINT, platform::LPARAM>> seen;
    platform::MSG msg;
    while (platform::peek_message(msg, true)) {
        if (msg.message == platform::WM_PAINT) {
            platform::dispatch_message(msg);
            continue;
        }
        EXPECT_EQ(msg.hwnd, owner);
        seen.emplace_back(msg.message, msg.lParam);
    }
    const std::vector<std::pair<platform::UINT, platform::LPARAM>> expected{
        {platform::WM_LBUTTONDOWN, platform::MAKELPARAM(50, 60)},
        {platform::WM_MOUSEMOVE, platform::MAKELPARAM(60, 70)},
        {platform::WM_LBUTTONUP, platform::MAKELPARAM(60, 70)}};
    EXPECT_EQ(seen, expected);
}

TEST_F(media_player_test, the_window_needs_an_owner_and_goes_with_the_player) {
    platform::HWND video = nullptr;
    {
        media_player p;
        EXPECT_FALSE(p.attach_window(nullptr, platform::WS_CHILD));
        EXPECT_FALSE(p.attach_window(reinterpret_cast<platform::HWND>(0x7777), platform::WS_CHILD));
        EXPECT_FALSE(p.place_window(RECT{0, 0, 10, 10}));
        ASSERT_TRUE(p.render(clip("red.ogg"), fast()));
        ASSERT_TRUE(p.attach_window(owner, platform::WS_CHILD));
        EXPECT_FALSE(p.attach_window(owner, platform::WS_CHILD));
        video = p.window();
        ASSERT_TRUE(p.run());
    }
    EXPECT_FALSE(platform::is_window(video));
    EXPECT_TRUE(platform::get_children(owner).empty());
}

} // namespace
