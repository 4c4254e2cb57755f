#include "host.h"
#include "platform/types.h"
#include "platform/window_system.h"
#include "sip_keyboard.h"
#include "support/png_reader.h"
#include "support/window_fixture.h"
#include "tour.h"

#include <cstdlib>
#include <sstream>
#include <unistd.h>

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
    bool run(shell::host& h, const std::string& script) {
        std::istringstream in(script);
        error.clear();
        return shell::run_tour(h, in, shots, error);
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

TEST(sip_keyboard, keys_sit_in_a_ten_by_four_grid_with_gaps_and_letters_start_words_as_capitals) {
    using shell::sip_keyboard::key_at;
    // 480 x 200: keys of 48 x 50 with 3 pixels kept clear on each side.
    EXPECT_EQ(key_at(24, 25, 480, 200), '1');
    EXPECT_EQ(key_at(24, 75, 480, 200), 'Q');
    EXPECT_EQ(key_at(460, 125, 480, 200), '\b');
    EXPECT_EQ(key_at(460, 175, 480, 200), ' ');
    EXPECT_EQ(key_at(47, 75, 480, 200), 0); // between Q and W
    EXPECT_EQ(key_at(24, 200, 480, 200), 0);
    EXPECT_EQ(key_at(-1, 75, 480, 200), 0);
    EXPECT_EQ(key_at(5, 5, 0, 0), 0);

    using shell::sip_keyboard::typed;
    EXPECT_EQ(typed('P', L""), L'P');
    EXPECT_EQ(typed('A', L"P"), L'a');
    EXPECT_EQ(typed('Y', L"New "), L'Y');
    EXPECT_EQ(typed('B', L"Rio-"), L'B');
    EXPECT_EQ(typed('\b', L"Pa"), L'\b');
    EXPECT_EQ(typed('7', L""), L'7');
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

} // namespace
