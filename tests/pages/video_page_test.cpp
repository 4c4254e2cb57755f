// The video page: its player, the command button that follows it, the bar and the times.
#include "chrome/command_bar.h"
#include "pages/video/video_player_content.h"
#include "platform/text.h"
#include "platform/window_system.h"
#include "support/clip_maker.h"
#include "support/graphics_fixture.h"
#include "support/temp_folder.h"
#include "ui/graphics.h"
#include "ui/resources.h"

namespace {

using cl::ui::video_player;
using platform::RECT;
using zor::video_player_content;

const std::int64_t second = 10000000;
const RECT area{0, 106, 480, 658};

class video_page : public graphics_fixture {
protected:
    void SetUp() override {
        graphics_fixture::SetUp();
        // Made once: two seconds of red and two minutes of colour bars, at 10 frames a second.
        static const bool made = make_clip(clips().file("short.ogg"), 20, 10, "red") &&
                                 make_clip(clips().file("long.ogg"), 1250, 10, "smpte");
        ASSERT_TRUE(made);
        cl::ui::resources::load(platform::from_utf8(ZOR_PANEL_DIR));
        cl::ui::resources::set_portrait(true);
        cl::ui::create_graphics(window);
    }
    void TearDown() override {
        cl::ui::destroy_graphics();
        graphics_fixture::TearDown();
    }
    static const temp_folder& clips() {
        static const temp_folder dir;
        return dir;
    }
    std::unique_ptr<video_player_content> open(const std::string& name, bool sync = true) {
        platform::media_player::options o;
        o.sync = sync;
        auto page = std::make_unique<video_player_content>(&commands, platform::from_utf8(clips().file(name)),
                                                           window.get_hwnd(), o);
        page->set_rect(area);
        page->layout();
        return page;
    }
    // A frame of the loop: update, then draw.
    void frame(video_player_content& page) {
        page.update(0);
        page.draw(*g, false);
    }
    bool frames_until(video_player_content& page, const std::function<bool()>& done) {
        return eventually([&] { return frame(page), done(); }, std::chrono::seconds(20));
    }
    void press() { commands.on_key_down(zor::ui::command_bar::soft_key_left); }

    zor::ui::command_bar commands;
};

// Shorter times show in the page's labels below.
TEST(video_times, times_and_percentages) {
    EXPECT_EQ(video_player::format_time(6009 * second), L"100:09");
    // An unknown length shows an empty bar, and a position past the end a full one.
    EXPECT_EQ(video_player::percent(30 * second, 125 * second), 24);
    EXPECT_EQ(video_player::percent(30 * second, 0), 0);
    EXPECT_EQ(video_player::percent(130 * second, 125 * second), 100);
}

TEST_F(video_page, starts_on_first_draw_and_the_button_pauses_without_rewinding) {
    auto page = open("long.ogg");
    video_player& player = page->get_player();
    ASSERT_TRUE(player.is_rendered());
    EXPECT_EQ(commands.left_label(), L"Play");
    EXPECT_EQ(player.time_label(), L"00:00 / 02:05");
    page->update(0);
    EXPECT_EQ(player.state(), 0);

    // The video window covers the upper half of the area, over the panel.
    const platform::HWND video = player.video_window();
    EXPECT_EQ(platform::get_parent(video), window.get_hwnd());
    EXPECT_TRUE(platform::is_window_visible(video));
    EXPECT_EQ(platform::get_client_rect(video), (RECT{0, 0, 480, 276}));

    ASSERT_TRUE(frames_until(*page, [&] { return player.state() == 2; }));
    EXPECT_EQ(commands.left_label(), L"Stop");
    ASSERT_TRUE(frames_until(*page, [&] { return player.time_label().rfind(L"00:03", 0) == 0; }));

    press();
    ASSERT_TRUE(frames_until(*page, [&] { return player.state() == 1; }));
    EXPECT_EQ(commands.left_label(), L"Play");
    EXPECT_NE(player.time_label().substr(0, 5), L"00:00");
    // Drawing again does not start it by itself, and the bar shows the percent played.
    for (int i = 0; i < 5; ++i)
        frame(*page);
    EXPECT_EQ(player.state(), 1);
    const RECT bar = player.get_progress().bar_rect();
    EXPECT_EQ(player.get_progress().get_rect(), (RECT{20, 568, 460, 608}));
    EXPECT_GT(bar.right, bar.left);

    press();
    ASSERT_TRUE(frames_until(*page, [&] { return player.state() == 2; }));
    EXPECT_EQ(commands.left_label(), L"Stop");

    // Leaving the page takes the video off the screen.
    page.reset();
    EXPECT_FALSE(platform::is_window(video));
}

TEST_F(video_page, the_end_of_the_clip_stops_and_rewinds) {
    auto page = open("short.ogg", false);
    video_player& player = page->get_player();
    EXPECT_EQ(player.time_label(), L"00:00 / 00:02");
    bool ran = false;
    ASSERT_TRUE(frames_until(*page, [&] {
        ran = ran || player.state() == 2;
        return ran && player.state() == 0;
    }));
    EXPECT_EQ(commands.left_label(), L"Play");
    EXPECT_EQ(player.time_label(), L"00:00 / 00:02");
    // The button plays it again.
    press();
    ASSERT_TRUE(
        frames_until(*page, [&] { return player.state() == 2 || player.time_label() != L"00:00 / 00:02"; }));
}

TEST_F(video_page, a_clip_that_cannot_play_shows_an_inert_player) {
    temp_folder dir;
    dir.write("broken.ogg", std::string(2000, '\x01'));
    for (const std::wstring& clip : {platform::from_utf8(dir.file("broken.ogg")),
                                     platform::from_utf8(dir.file("none.ogg")), std::wstring()}) {
        video_player_content page(&commands, clip, window.get_hwnd());
        page.set_rect(area);
        page.update(0);
        page.draw(*g, true);
        video_player& player = page.get_player();
        EXPECT_FALSE(player.is_rendered());
        EXPECT_FALSE(player.is_visible());
        EXPECT_EQ(player.time_label(), L"00:00 / 00:00");
        press();
        page.update(0);
        EXPECT_EQ(player.state(), 0);
        EXPECT_EQ(commands.left_label(), L"Play");
        // Grey where the video would be, black under it, the bar's white frame.
        EXPECT_EQ(pixel(240, 200), 0x8410);
        EXPECT_EQ(pixel(240, 450), 0x0000);
        EXPECT_EQ(pixel(20, 590), 0xFFFF);
    }
}

} // namespace
