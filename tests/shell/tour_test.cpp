#include "frame_report.h"
#include "host.h"
#include "platform/clock.h"
#include "platform/debug_log.h"
#include "platform/panel_activity.h"
#include "platform/types.h"
#include "platform/window_system.h"
#include "sip_keyboard.h"
#include "support/log_capture.h"
#include "support/png_reader.h"
#include "support/window_fixture.h"
#include "top_bar.h"
#include "tour.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <regex>
#include <set>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

class tour : public window_fixture {
protected:
    void SetUp() override {
        window_fixture::SetUp();
        char path[] = "/tmp/zor_tour_XXXXXX";
        ASSERT_NE(mkdtemp(path), nullptr);
        shots = path;
    }
    void TearDown() override {
        std::system(("rm -rf " + shots).c_str());
        window_fixture::TearDown();
    }
    bool run(shell::host& h, const std::string& script, shell::frame_report* report = nullptr) {
        std::istringstream in(script);
        error.clear();
        return shell::run_tour(h, in, shots, error, report);
    }
    std::string shots;
    std::string error;
};

TEST(key_names, map_to_the_keypad_codes) {
    EXPECT_EQ(shell::key_from_name("left"), platform::VK_LEFT);
    EXPECT_EQ(shell::key_from_name("enter"), platform::VK_RETURN);
    EXPECT_EQ(shell::key_from_name("soft1"), 0xC2);
    EXPECT_EQ(shell::key_from_name("soft2"), 0xC3);
    EXPECT_EQ(shell::key_from_name("49"), 49);
    EXPECT_EQ(shell::key_from_name("256"), -1);
    EXPECT_EQ(shell::key_from_name("f1"), -1);
    EXPECT_EQ(shell::key_from_name(""), -1);
}

TEST_F(tour, a_shot_shows_the_top_bar_and_rotation_turns_the_screen) {
    shell::host h(false);
    ASSERT_TRUE(run(h, "# comment\n\nshot portrait\nrotate\nwait 10\nshot landscape\n")) << error;
    rgb_picture portrait = read_png(shots + "/portrait.png");
    ASSERT_EQ(portrait.width, 480);
    ASSERT_EQ(portrait.height, 800);
    EXPECT_EQ(portrait.at(240, 5), 0x181C21u);  // the bar
    EXPECT_EQ(portrait.at(240, 51), 0x393C42u); // its bottom line
    rgb_picture landscape = read_png(shots + "/landscape.png");
    EXPECT_EQ(landscape.width, 800);
    EXPECT_EQ(landscape.height, 480);
    EXPECT_TRUE(h.landscape());
    EXPECT_EQ(platform::get_work_area(), (platform::RECT{0, 52, 800, 480}));
}

TEST_F(tour, bad_lines_fail_with_their_number_and_quit_ends_early) {
    shell::host h(false);
    EXPECT_FALSE(run(h, "wait 1\njump 3 4\n"));
    EXPECT_NE(error.find("line 2"), std::string::npos);
    for (const char* bad :
         {"tap 1\n", "tap 1 2 3\n", "wait -5\n", "key nowhere\n", "shot ../escape\n", "shot\n"})
        EXPECT_FALSE(run(h, bad)) << bad;
    EXPECT_TRUE(run(h, "quit\nthis is never read\n"));
    EXPECT_EQ(access((shots + "/../escape.png").c_str(), F_OK), -1);
}

TEST(sip_keyboard, keys_sit_in_a_ten_by_five_grid_with_gaps_and_wide_hide_space_and_enter_keys) {
    using shell::sip_keyboard::key_at;
    // 480 x 200: places of 48 x 40 with 3 pixels kept clear on each side of a key.
    const struct {
        int x, y;
        char key;
    } rows[] = {
        {24, 20, '1'},
        {24, 60, 'Q'},
        {460, 100, '\b'},
        {460, 140, ' '},
        {47, 60, 0}, // between Q and W
        {24, 200, 0},
        {-1, 60, 0},
        {24, 180, shell::sip_keyboard::hide_key},
        {48, 180, shell::sip_keyboard::hide_key}, // inside the wide key, where two places meet
        {95, 180, 0},
        {240, 180, ' '},
        {390, 180, shell::sip_keyboard::enter_key},
        {460, 180, shell::sip_keyboard::enter_key},
    };
    for (const auto& r : rows)
        EXPECT_EQ(key_at(r.x, r.y, 480, 200), r.key) << r.x << " " << r.y;
    EXPECT_EQ(key_at(5, 5, 0, 0), 0);
    int wide[4];
    shell::sip_keyboard::key_rect(4, 9, 480, 200, wide);
    EXPECT_EQ(wide[0], 8 * 48 + 3);
    EXPECT_EQ(wide[2], 480 - 3);

    using shell::sip_keyboard::typed;
    EXPECT_EQ(typed('P', L""), L'P');
    EXPECT_EQ(typed('A', L"P"), L'a');
    EXPECT_EQ(typed('Y', L"New "), L'Y');
    EXPECT_EQ(typed('B', L"Rio-"), L'B');
    EXPECT_EQ(typed('\b', L"Pa"), L'\b');
    EXPECT_EQ(typed('7', L""), L'7');
}

// The distinct colours of a rectangle of a surface: text in a real face is smoothed, so its edges bring
// shades that neither the ink nor the ground has; a pixel font brings none.
std::set<std::uint16_t> shades(platform::window_surface& s, int x0, int y0, int x1, int y1) {
    std::set<std::uint16_t> seen;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            seen.insert(s.pixels()[y * s.width() + x]);
    return seen;
}

TEST(home_screen_drawing, the_keyboard_and_the_clock_are_drawn_in_a_smoothed_face_on_phone_like_keys) {
    platform::window_surface keyboard(480, 200);
    shell::sip_keyboard::paint(keyboard);
    auto at = [&](int x, int y) { return keyboard.pixels()[y * 480 + x]; };
    int q[4];
    shell::sip_keyboard::key_rect(1, 0, 480, 200, q);
    EXPECT_EQ(at(q[0] + 8, q[1] + 4), 0xFFFF); // a white letter key
    EXPECT_NE(at(q[0], q[1]), 0xFFFF);         // with rounded corners
    EXPECT_NE(at(1, 1), 0xFFFF);               // on a grey tray
    EXPECT_GT(shades(keyboard, q[0], q[1], q[2], q[3]).size(), 6u);
    int back[4], enter[4];
    shell::sip_keyboard::key_rect(2, 9, 480, 200, back);
    shell::sip_keyboard::key_rect(4, 9, 480, 200, enter);
    EXPECT_NE(at(back[0] + 4, back[1] + 4), 0xFFFF); // function keys stand apart
    EXPECT_NE(at(enter[0] + 4, enter[1] + 4), at(back[0] + 4, back[1] + 4));

    platform::window_surface screen(480, 800);
    std::tm noon{};
    noon.tm_hour = 12;
    noon.tm_min = 34;
    shell::paint_top_bar(screen, noon);
    EXPECT_GT(shades(screen, 0, 0, 140, 51).size(), 6u); // the clock
}

TEST_F(tour, taps_on_the_shown_keyboard_type_into_the_focused_field) {
    shell::host h(false);
    platform::HWND field =
        platform::create_window(0, L"EDIT", L"", platform::WS_VISIBLE, 20, 300, 440, 50, nullptr, nullptr);
    platform::set_focus(field);
    platform::HWND keyboard = platform::find_window(L"SipWndClass", nullptr);
    ASSERT_NE(keyboard, nullptr);
    platform::show_window(keyboard, platform::SW_SHOWNORMAL);
    // The keyboard fills the bottom 200 pixels of the 480 x 800 screen.
    auto tap = [&](int row, int column) {
        int r[4];
        shell::sip_keyboard::key_rect(row, column, 480, 200, r);
        return "tap " + std::to_string((r[0] + r[2]) / 2) + " " + std::to_string(600 + (r[1] + r[3]) / 2) +
               "\nwait 20\n";
    };
    // P, A, R, backspace, R, then a tap in a gap.
    ASSERT_TRUE(run(h, tap(1, 9) + tap(2, 0) + tap(1, 3) + tap(2, 9) + tap(1, 3) + "tap 48 625\nwait 20\n"))
        << error;
    EXPECT_EQ(platform::get_window_title(field), L"Par");
    platform::destroy_window(field);
}

// Stands in for the panel's frame loop: draws a frame a millisecond into a window, with new content until
// told to keep still, then only a bouncing ornament.
class stand_in_loop {
public:
    stand_in_loop()
        : window(make_window()), surface(platform::get_window_surface(window)), worker([this] { run(); }) {}
    ~stand_in_loop() {
        stop = true;
        worker.join();
        platform::destroy_window(window);
    }
    platform::HWND drawn() const { return window; }
    void keep_still() { still = true; }
    // The running frame count at the last frame that drew new content.
    std::uint64_t last_content_frame() const { return last_content; }

private:
    static platform::HWND make_window() {
        register_window_class(L"STAND_IN_PANEL");
        return platform::create_window(0, L"STAND_IN_PANEL", L"", platform::WS_VISIBLE, 0, 52, 480, 748,
                                       nullptr, nullptr);
    }

    void run() {
        while (!stop) {
            const bool content = !still;
            surface->touch(content ? platform::window_surface::change::content
                                   : platform::window_surface::change::ornament);
            platform::note_frame(platform::tick_count());
            if (content)
                last_content = platform::frames_drawn();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    platform::HWND window;
    std::shared_ptr<platform::window_surface> surface;
    std::atomic<bool> stop{false};
    std::atomic<bool> still{false};
    std::atomic<std::uint64_t> last_content{0};
    std::thread worker;
};

TEST_F(tour, settle_waits_for_frames_without_new_content_looking_through_ornaments) {
    shell::host h(false);
    stand_in_loop loop;
    const platform::HWND drawn = loop.drawn();
    EXPECT_EQ(h.settle(drawn, 100), shell::host::settle_result::timed_out);
    // A paused panel draws nothing, so the settle waits only for loads.
    h.pause();
    EXPECT_EQ(h.settle(drawn, 60000), shell::host::settle_result::settled);
    h.resume();
    EXPECT_EQ(h.settle(drawn, 50), shell::host::settle_result::timed_out);
    loop.keep_still();
    EXPECT_EQ(h.settle(drawn, 60000), shell::host::settle_result::settled);
    EXPECT_GE(platform::frames_drawn(), loop.last_content_frame() + shell::host::settle_frames);

    // A pending load holds it, however still the picture.
    platform::note_load_queued();
    EXPECT_EQ(h.settle(drawn, 100), shell::host::settle_result::timed_out);
    platform::note_load_done();
    EXPECT_EQ(h.settle(drawn, 60000), shell::host::settle_result::settled);
}

TEST_F(tour, a_settle_that_runs_out_of_time_goes_on_and_says_so_in_the_log) {
    log_capture log;
    auto logged = [&] { return log.text(); };
    shell::host h(false);
    platform::note_load_queued();
    EXPECT_TRUE(run(h, "settle 30\nshot after\n")) << error;
    EXPECT_NE(logged().find("line 1 (settle 30): the panel had not settled"), std::string::npos) << logged();
    EXPECT_EQ(access((shots + "/after.png").c_str(), F_OK), 0);
    platform::note_load_done();
    log.clear();
    EXPECT_TRUE(run(h, "settle 60000\n")) << error;
    EXPECT_EQ(logged(), "");
    EXPECT_FALSE(run(h, "settle\n"));
    EXPECT_FALSE(run(h, "settle -1\n"));
}

// Burns CPU on this thread until the process has used ms more of it.
void burn_cpu_ms(long ms) {
    const std::clock_t until = std::clock() + ms * CLOCKS_PER_SEC / 1000;
    volatile unsigned spin = 0;
    while (std::clock() < until)
        spin = spin + 1;
}

TEST_F(tour, marks_name_the_sections_of_the_frame_report) {
    shell::host h(false);
    platform::note_frames_stopped();
    shell::frame_report report;
    platform::note_shown_page("report-home");
    platform::note_frame(1000);
    platform::note_frame(1030);
    ASSERT_TRUE(run(h, "mark globe-open\n", &report)) << error;
    platform::note_shown_page("report-globe");
    platform::note_frame(1500);
    platform::note_frame(1560);
    burn_cpu_ms(30);
    report.finish();
    // CPU, wall time and memory vary from run to run: they are checked apart.
    const std::regex varying(R"re((cpu_ms|wall_ms|peak_rss_kb) [0-9]+)re");
    EXPECT_EQ(std::regex_replace(report.text(), varying, "$1 N"),
              "frames 4\nlongest_gap_ms 470\npage report-globe\npeak_rss_kb N\n"
              "section start frames 2 longest_gap_ms 30 page report-home entry_gap_ms 0 "
              "entry_page - cpu_ms N wall_ms N\n"
              "section globe-open frames 2 longest_gap_ms 60 page report-globe entry_gap_ms 470 "
              "entry_page report-globe cpu_ms N wall_ms N\n");
    ASSERT_EQ(report.sections().size(), 2u);
    const shell::frame_report::section& busy = report.sections()[1];
    EXPECT_GE(busy.cpu_ms, 29);
    std::smatch peak;
    const std::string text = report.text();
    ASSERT_TRUE(std::regex_search(text, peak, std::regex("peak_rss_kb ([0-9]+)")));
    EXPECT_GT(std::stol(peak[1]), 1000);
    EXPECT_FALSE(run(h, "mark\n", &report));
    EXPECT_FALSE(run(h, "mark a b\n", &report));
    EXPECT_FALSE(run(h, "mark ../x\n", &report));
}

std::vector<unsigned> keys_down;

platform::LRESULT recording_proc(platform::HWND hwnd, platform::UINT msg, platform::WPARAM w,
                                 platform::LPARAM l) {
    if (msg == platform::WM_KEYDOWN)
        keys_down.push_back(static_cast<unsigned>(w));
    return platform::def_window_proc(hwnd, msg, w, l);
}

TEST_F(tour, the_keyboard_sends_enter_to_the_field_and_its_hide_key_puts_it_away) {
    shell::host h(false);
    ASSERT_TRUE(register_window_class(L"RecordingField", recording_proc));
    platform::HWND field = platform::create_window(0, L"RecordingField", L"", platform::WS_VISIBLE, 20, 300,
                                                   440, 50, nullptr, nullptr);
    platform::set_focus(field);
    platform::HWND keyboard = platform::find_window(L"SipWndClass", nullptr);
    ASSERT_NE(keyboard, nullptr);
    platform::show_window(keyboard, platform::SW_SHOWNORMAL);
    keys_down.clear();
    ASSERT_TRUE(run(h, "tap 450 780\nwait 20\n")) << error; // Enter, bottom right
    EXPECT_EQ(keys_down, std::vector<unsigned>{platform::VK_RETURN});
    EXPECT_TRUE(platform::is_window_visible(keyboard));
    ASSERT_TRUE(run(h, "tap 30 780\nwait 20\n")) << error; // the hide key, bottom left
    EXPECT_FALSE(platform::is_window_visible(keyboard));
    EXPECT_EQ(keys_down.size(), 1u);
    platform::destroy_window(field);
    platform::unregister_class(L"RecordingField", nullptr);
}

} // namespace
