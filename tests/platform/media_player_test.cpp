// The media player against clips the suite makes itself, played as fast as they decode.
#include "platform/media_player.h"
#include "platform/text.h"
#include "platform/window_system.h"
#include "support/clip_maker.h"
#include "support/temp_folder.h"
#include "support/window_fixture.h"

#include <future>
#include <thread>

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
    static bool wait_end(media_player& p) {
        int code = 0;
        return eventually([&] { return p.next_event(code); }, std::chrono::seconds(20)) &&
               code == media_player::event_complete;
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
    EXPECT_NEAR(static_cast<double>(p.duration()), 60.0 * second, 0.11 * second);
    ASSERT_TRUE(p.attach_window(owner, platform::WS_CHILD));
    p.place_window(RECT{0, 0, 160, 120});
    ASSERT_TRUE(p.run());
    ASSERT_TRUE(eventually([&] { return p.state() == media_player::running && p.position() > second / 2; }));

    ASSERT_TRUE(p.pause());
    EXPECT_EQ(p.state(), media_player::paused);
    // The change completes on the streaming thread; give it a moment, then nothing may move.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::int64_t held = p.position();
    EXPECT_GT(held, 0);
    const std::uint64_t frames = p.frames_shown();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
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
        EXPECT_FALSE(p.render(source, fast()));
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
