// The video page: its player, the command button that follows it, the bar and the times.
#include "app/controller.h"
#include "chrome/command_bar.h"
#include "model/model.h"
#include "pages/video/video_player_content.h"
#include "platform/input.h"
#include "platform/text.h"
#include "platform/window_system.h"
#include "support/clip_maker.h"
#include "support/graphics_fixture.h"
#include "support/loading_marker.h"
#include "support/page_fixture.h"
#include "support/temp_folder.h"
#include "support/test_content.h"
#include "support/test_http_server.h"
#include "ui/graphics.h"
#include "ui/resources.h"

#include <boost/make_shared.hpp>
#include <gst/gst.h>

namespace {

using cl::ui::video_player;
using platform::RECT;
using zor::video_player_content;

const std::int64_t second = 10000000;
const RECT area{0, 106, 480, 658};

// The page over the installed pictures, with its command bar.
class video_pages : public graphics_fixture {
protected:
    void SetUp() override {
        graphics_fixture::SetUp();
        use_installed_pictures();
    }
    std::unique_ptr<video_player_content> open_clip(const std::wstring& clip, bool sync) {
        platform::media_player::options o;
        o.sync = sync;
        auto page = std::make_unique<video_player_content>(&commands, clip, window.get_hwnd(), o);
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

class video_page : public video_pages {
protected:
    void SetUp() override {
        video_pages::SetUp();
        // Made once: two seconds of red and two minutes of colour bars, at 10 frames a second.
        static const bool made = make_clip(clips().file("short.ogg"), 20, 10, "red") &&
                                 make_clip(clips().file("long.ogg"), 1250, 10, "smpte");
        ASSERT_TRUE(made);
    }
    static const temp_folder& clips() {
        static const temp_folder dir;
        return dir;
    }
    std::unique_ptr<video_player_content> open(const std::string& name, bool sync = true) {
        return open_clip(platform::from_utf8(clips().file(name)), sync);
    }
};

// Defined first, so it runs before this process makes a clip: nothing has started the media framework yet.
// Starting it and loading its plug-ins takes longer than a frame: the loading thread opens the clip, and
// the page plays it once it is open.
class video_page_opening : public video_pages {};

TEST_F(video_page_opening, the_loading_thread_opens_the_clip_while_the_frames_go_on) {
    ASSERT_FALSE(gst_is_initialized());
    zor::model::init();
    // Keeps the loading thread busy until released.
    auto gate = boost::make_shared<loading_marker>(1, true);
    zor::model::load(gate);
    ASSERT_TRUE(gate->wait_reached());

    temp_folder dir;
    {
        auto page = open_clip(platform::from_utf8(dir.file("clip.ogg")), false);
        video_player& player = page->get_player();
        for (int i = 0; i < 3; ++i)
            frame(*page);
        EXPECT_FALSE(gst_is_initialized());
        EXPECT_TRUE(player.is_opening());
        EXPECT_EQ(commands.left_label(), L"Play");

        // Made here, the clip starts the framework in this process; the page still waits for its job.
        ASSERT_TRUE(make_clip(dir.file("clip.ogg"), 20, 10, "red"));
        page->update(0);
        EXPECT_TRUE(player.is_opening());
        gate->release();
        // The play the first draw asked for starts the clip as soon as it opens.
        EXPECT_TRUE(frames_until(*page, [&] { return player.state() == 2; }));
        EXPECT_FALSE(player.is_opening());
        EXPECT_TRUE(player.is_visible());
    }
    zor::model::done();
}

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
    EXPECT_EQ(player.time_label(), L"00:03 / 02:05");

    press();
    ASSERT_TRUE(frames_until(*page, [&] { return player.state() == 1; }));
    EXPECT_EQ(commands.left_label(), L"Play");
    EXPECT_NE(player.time_label().substr(0, 5), L"00:00");
    // Drawing again does not start it by itself, and the bar shows the percent played.
    for (int i = 0; i < 5; ++i)
        frame(*page);
    EXPECT_EQ(player.state(), 1);
    page->update(0);
    EXPECT_FALSE(page->is_dirty()) << "a paused clip has nothing new to draw";
    const RECT bar = player.get_progress().bar_rect();
    EXPECT_EQ(player.get_progress().get_rect(), (RECT{20, 568, 460, 608}));
    EXPECT_GT(bar.right, bar.left);

    press();
    ASSERT_TRUE(frames_until(*page, [&] { return player.state() == 2; }));
    EXPECT_EQ(commands.left_label(), L"Stop");
    // Playing, it draws again as its time goes on.
    const std::wstring before = player.time_label();
    EXPECT_TRUE(eventually(
        [&] {
            page->update(0);
            return player.time_label() != before && page->is_dirty();
        },
        std::chrono::seconds(20)));

    // Leaving the page takes the video off the screen.
    page.reset();
    EXPECT_FALSE(platform::is_window(video));
}

// Between the bars in landscape the content is 249 pixels high: the times above the bar reach into the upper
// half, where the picture's window would hide their top.
TEST_F(video_page, in_landscape_the_picture_stops_above_the_times) {
    auto page = open("long.ogg");
    page->set_rect(RECT{0, 106, 800, 355});
    page->layout();
    video_player& player = page->get_player();
    ASSERT_TRUE(player.is_rendered());
    // The times stand in the 50 pixels above the bar, from 20 pixels in.
    const int bar_top = player.get_progress().get_rect().top;
    const RECT times{20, bar_top - 55, 400, bar_top - 5};
    EXPECT_LT(times.top, player.get_video_rect().bottom);
    platform::POINT top_left{0, 106}, label{0, times.top};
    platform::client_to_screen(window.get_hwnd(), top_left);
    platform::client_to_screen(window.get_hwnd(), label);
    const RECT picture = platform::get_window_rect(player.video_window());
    EXPECT_EQ(picture.top, top_left.y);
    EXPECT_EQ(picture.bottom, label.y);
    EXPECT_EQ(picture.right - picture.left, 800);
    // The times stand on the player's black, not on the page's grey.
    page->draw(*g, true);
    EXPECT_EQ(pixel(times.right - 2, times.top + 1), 0);
    EXPECT_EQ(pixel(times.right - 2, 106 + 1), ui_impl::to_rgb565(0x808080));
}

TEST_F(video_page, the_end_of_the_clip_stops_and_rewinds) {
    auto page = open("short.ogg", false);
    video_player& player = page->get_player();
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

// Some clips are refused at once, others once the player has looked at their bytes.
TEST_F(video_page, a_clip_that_cannot_play_shows_an_inert_player) {
    temp_folder dir;
    dir.write("broken.ogg", std::string(2000, '\x01'));
    for (const std::wstring& clip : {platform::from_utf8(dir.file("broken.ogg")),
                                     platform::from_utf8(dir.file("none.ogg")), std::wstring()}) {
        video_player_content page(&commands, clip, window.get_hwnd());
        page.set_rect(area);
        video_player& player = page.get_player();
        ASSERT_TRUE(frames_until(page, [&] { return !player.is_rendered(); }));
        EXPECT_FALSE(player.is_visible());
        EXPECT_EQ(player.time_label(), L"00:00 / 00:00");
        press();
        page.update(0);
        EXPECT_EQ(player.state(), 0);
        EXPECT_EQ(commands.left_label(), L"Play");
        // Grey where the video would be, black under it, the bar's slim grey track.
        EXPECT_EQ(pixel(240, 200), 0x8410);
        EXPECT_EQ(pixel(240, 450), 0x0000);
        EXPECT_EQ(pixel(240, 588), 0x5ACB);
    }
}

// A server that holds the clip back holds up neither building the page nor its frames: the page asks for
// playback at once, and the picture arrives when the server lets the clip go.
TEST_F(video_page, a_slow_server_holds_up_neither_the_page_nor_its_frames) {
    test_http_server server;
    server.add_route("/news.ogg", clips().read("short.ogg"));
    server.hold("/news.ogg");

    auto page = open_clip(L"http://" + server.host() + L"/news.ogg", false);
    video_player& player = page->get_player();
    for (int i = 0; i < 3; ++i)
        frame(*page);
    const bool asked_while_held = player.is_rendered() && player.state() == 2;
    const bool pen_reached_page = [&] {
        // The pen over the picture goes to the panel window, whose queue the frame loop is fed from.
        platform::pen_down(240, 252);
        platform::pen_up(240, 252);
        platform::MSG msg;
        int pen_messages = 0;
        while (platform::peek_message(msg, true)) {
            if (msg.message == platform::WM_PAINT)
                platform::dispatch_message(msg);
            else
                pen_messages += msg.hwnd == window.get_hwnd() && (msg.message == platform::WM_LBUTTONDOWN ||
                                                                  msg.message == platform::WM_LBUTTONUP);
        }
        return pen_messages == 2;
    }();
    server.release("/news.ogg");
    EXPECT_TRUE(asked_while_held);
    EXPECT_EQ(commands.left_label(), L"Stop");
    EXPECT_TRUE(pen_reached_page);

    const platform::HWND video = player.video_window();
    auto red = [&] {
        auto surface = platform::get_window_surface(video);
        std::lock_guard<std::mutex> lock(surface->mutex());
        const std::uint16_t px = surface->pixels()[138 * surface->width() + 240];
        return (px >> 11) >= 27 && ((px >> 5) & 0x3F) <= 8 && (px & 0x1F) <= 4;
    };
    EXPECT_TRUE(frames_until(*page, red));
}

// What the host's pause and resume do to the video page, through the controller the frame loop tells.
class video_under_controller : public page_fixture {
protected:
    struct video_factory : recording_factory {
        video_factory(std::vector<std::string>* journal, platform::HWND owner)
            : recording_factory(journal), owner(owner) {}
        content_list video(zor::app::page& p, const std::wstring&, const std::wstring& clip) override {
            content_list list;
            list.emplace_back(new video_player_content(&p.commands(), clip, owner));
            return list;
        }
        platform::HWND owner;
    };

    void SetUp() override {
        page_fixture::SetUp();
        ASSERT_TRUE(make_clip(folder.file("long.ogg"), 1250, 10, "smpte"));
        control.reset(new zor::app::controller(std::make_shared<video_factory>(&journal, window.get_hwnd())));
        control->set_rect(RECT{0, 0, 480, 748});
        control->layout();
        control->init();
        control->current_page().load(L"video_player", {L"ZOR", platform::from_utf8(folder.file("long.ogg"))},
                                     {});
        auto* content =
            dynamic_cast<video_player_content*>(control->current_page().contents().current_content());
        ASSERT_NE(content, nullptr);
        player = &content->get_player();
    }
    void TearDown() override {
        control.reset();
        page_fixture::TearDown();
    }
    bool frames_until(const std::function<bool()>& done) {
        return eventually(
            [&] {
                control->update(now += 25);
                control->draw(*g, false);
                return done();
            },
            std::chrono::seconds(20));
    }
    // The player as the next frame sees it, without drawing (no frame runs while the panel is paused).
    int state_now() {
        player->update(now);
        return player->state();
    }
    void press() { control->current_page().commands().on_key_down(zor::ui::command_bar::soft_key_left); }

    temp_folder folder;
    std::unique_ptr<zor::app::controller> control;
    video_player* player = nullptr;
    unsigned long now = 1000;
};

TEST_F(video_under_controller, the_panel_pause_holds_the_clip_and_its_resume_plays_on) {
    ASSERT_TRUE(frames_until([&] { return player->state() == 2; }));
    control->panel_paused(true);
    EXPECT_EQ(state_now(), 1);
    control->panel_paused(false);
    EXPECT_EQ(state_now(), 2);
    ASSERT_TRUE(frames_until([&] { return player->time_label().rfind(L"00:01", 0) == 0; }));

    // A clip the user paused stays paused when the panel comes back.
    press();
    ASSERT_TRUE(frames_until([&] { return player->state() == 1; }));
    control->panel_paused(true);
    control->panel_paused(false);
    EXPECT_EQ(state_now(), 1);
}

} // namespace
