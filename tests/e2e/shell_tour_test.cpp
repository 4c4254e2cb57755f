// Runs the built home screen headless with the built panel, as a reviewer does.
#include "support/png_reader.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

class shell_tour : public ::testing::Test {
protected:
    void SetUp() override {
        char path[] = "/tmp/zor_e2e_XXXXXX";
        ASSERT_NE(mkdtemp(path), nullptr);
        folder = path;
    }
    void TearDown() override { std::system(("rm -rf " + folder).c_str()); }

    int run_shell(const std::string& script, const std::string& panel = ZOR_PANEL_DIR,
                  const std::string& extra = "") {
        std::ofstream(folder + "/tour.txt") << script;
        std::string cmd = std::string(ZOR_SHELL) + " --panel " + panel + " --headless --tour " + folder +
                          "/tour.txt --shots " + folder + "/shots --log " + folder + "/log.txt " + extra +
                          " 2>" + folder + "/stderr.txt";
        int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string read(const std::string& name) { return file_text(folder + "/" + name); }
    static std::string file_text(const std::string& path) {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string folder;
};

// The report's lines: "frames N", "longest_gap_ms G", "page P", then one "section NAME frames N ..." a mark.
TEST_F(shell_tour, the_frame_report_counts_the_frames_of_the_tour_and_of_each_marked_section) {
    ASSERT_EQ(run_shell("settle 60000\nmark news-tab\nkey right\nsettle 60000\nquit\n", ZOR_PANEL_DIR,
                        "--frame-report " + folder + "/frames.txt"),
              0)
        << read("stderr.txt");
    std::istringstream report(read("frames.txt"));
    std::string key, page;
    long frames = 0, gap = -1;
    report >> key >> frames;
    EXPECT_EQ(key, "frames");
    EXPECT_GT(frames, 4);
    report >> key >> gap >> key >> page;
    EXPECT_GE(gap, 0);
    EXPECT_TRUE(page == "home" || page == "news") << page;
    std::vector<std::string> sections;
    for (std::string line; std::getline(report, line);) {
        std::istringstream in(line);
        std::string section, name, frames_key;
        long n = 0;
        if (in >> section >> name >> frames_key >> n) {
            sections.push_back(name);
            EXPECT_GT(n, 0) << line;
        }
    }
    EXPECT_EQ(sections, (std::vector<std::string>{"start", "news-tab"}));
    EXPECT_NE(run_shell("quit\n", ZOR_PANEL_DIR, "--frame-report /nonexistent/frames.txt"), 0);
}

TEST_F(shell_tour, landscape_start_and_failures_exit_non_zero) {
    EXPECT_EQ(run_shell("shot wide\n", ZOR_PANEL_DIR, "--landscape"), 0);
    EXPECT_EQ(read_png(folder + "/shots/wide.png").width, 800);
    EXPECT_NE(run_shell("wait 1\n", "/nonexistent"), 0);
    EXPECT_NE(read("stderr.txt").find("cannot load"), std::string::npos);
    EXPECT_NE(run_shell("fly away\n"), 0);
    EXPECT_NE(read("stderr.txt").find("line 1"), std::string::npos);
}

// Pixels of the picture inside the screen rectangle whose colour passes the test.
template <class Test>
int count(const rgb_picture& pic, int x0, int y0, int x1, int y1, Test test) {
    int n = 0;
    for (int y = y0; y < y1 && y < pic.height; ++y)
        for (int x = x0; x < x1 && x < pic.width; ++x)
            n += test(pic.at(x, y)) ? 1 : 0;
    return n;
}

bool red(std::uint32_t c) {
    return (c >> 16) > 180 && ((c >> 8) & 0xFF) < 90 && (c & 0xFF) < 90;
}

bool dark(std::uint32_t c) {
    return (c >> 16) < 0x40 && ((c >> 8) & 0xFF) < 0x40 && (c & 0xFF) < 0x40;
}

// The panel sits 52 pixels below the top of the screen: header to 108, tabs to 158, and on the main page
// the footer's two rows from 710 and the command bar from 760.
TEST_F(shell_tour, pause_resume_swipes_arrows_soft_keys_and_rotation_move_through_the_page_and_stop) {
    ASSERT_EQ(run_shell("settle 60000\nshot home\npause\nwait 50\nresume\n"
                        "drag 400 400 80 400 300\nsettle 60000\nshot swiped\n"
                        "key right\nsettle 60000\nkey left\nsettle 60000\nkey left\nsettle 60000\n"
                        "shot back-home\n"
                        "tap 455 133\nsettle 60000\nshot arrow\n"
                        "tap 90 722\nsettle 60000\nshot headlines\n"
                        "key soft2\nsettle 60000\nshot main-again\n"
                        "rotate\nsettle 60000\nshot landscape\n"
                        "drag 600 300 100 300 300\nsettle 60000\nshot landscape-swiped\nquit\n"),
              0)
        << read("stderr.txt");
    auto shot = [&](const char* name) { return read_png(folder + "/shots/" + name + ".png"); };
    auto left_arrow = [&](const rgb_picture& p) { return count(p, 8, 110, 60, 156, red); };
    auto right_arrow = [&](const rgb_picture& p) {
        return count(p, p.width - 60, 110, p.width - 8, 156, red);
    };

    const rgb_picture home = shot("home");
    EXPECT_EQ(home.width, 480);
    EXPECT_EQ(home.height, 800);
    EXPECT_EQ(left_arrow(home), 0); // the first tab has nothing to its left
    EXPECT_GT(right_arrow(home), 40);
    EXPECT_GT(count(home, 0, 712, 480, 758, dark), 480 * 20); // the footer

    const rgb_picture swiped = shot("swiped");
    EXPECT_GT(left_arrow(swiped), 40);
    EXPECT_GT(right_arrow(swiped), 40);
    EXPECT_EQ(left_arrow(shot("back-home")), 0);
    EXPECT_GT(left_arrow(shot("arrow")), 40);

    // A footer link opens the category's headlines without the footer; "Back" on the soft key returns.
    const rgb_picture headlines = shot("headlines");
    EXPECT_LT(count(headlines, 0, 712, 480, 758, dark), 480 * 5);
    EXPECT_GT(count(headlines, 0, 760, 480, 800, [](std::uint32_t c) { return c == 0xFFFFFF; }), 30);
    EXPECT_GT(count(shot("main-again"), 0, 712, 480, 758, dark), 480 * 20);

    const rgb_picture wide = shot("landscape");
    ASSERT_EQ(wide.width, 800);
    EXPECT_EQ(wide.height, 480);
    EXPECT_GT(right_arrow(wide), 40);
    EXPECT_GT(left_arrow(shot("landscape-swiped")), 40);

    std::string log = read("log.txt");
    for (const char* line :
         {"+ cl::app::game_loop::run", "+ cl::app::game_loop::pause", "+ cl::app::game_loop::resume",
          "- zor::app::zor_game_loop::cleanup", "- cl::ui::main_window::done_instance"})
        EXPECT_NE(log.find(line), std::string::npos) << line;
    // Stop came before the window went: the loop ended inside stop_app.
    EXPECT_LT(log.find("- cl::app::game_loop::run"), log.find("+ cl::ui::main_window::done_instance"));
}

// The demo script runs a copy of the installed folder: the build's config.xml keeps its server however often
// the demo runs, and the user's options.xml in the copy outlives the next demo.
TEST_F(shell_tour, the_demo_runs_a_copy_and_keeps_the_users_options) {
    const std::string installed = std::string(ZOR_PANEL_DIR) + "/config.xml";
    const std::string config_before = file_text(installed);
    ASSERT_FALSE(config_before.empty());
    std::ofstream(folder + "/tour.txt") << "settle 60000\nshot home\nquit\n";
    const std::string demo = "cd " + std::string(ZOR_SOURCE_DIR) + " && ZOR_BUILD_DIR=" + ZOR_BUILD_DIR +
                             " ZOR_NO_BUILD=1 ZOR_DEMO_DIR=" + folder + "/demo ZOR_DEMO_TOUR=" + folder +
                             "/tour.txt ZOR_HEADLESS=1 ZOR_SHOTS=" + folder + "/shots scripts/demo >" +
                             folder + "/demo.txt 2>&1";
    ASSERT_EQ(std::system(demo.c_str()), 0) << read("demo.txt");
    EXPECT_EQ(file_text(installed), config_before);
    const std::string copied = read("demo/panel/config.xml");
    EXPECT_NE(copied.find("127.0.0.1:"), std::string::npos) << copied;
    EXPECT_NE(copied, config_before);
    EXPECT_EQ(read_png(folder + "/shots/home.png").width, 480);

    // The user chose Paris since.
    const std::string chosen =
        "<?xml "
        "version=\"1.0\"?><Settings><p1.2>true</p1.2></Settings><Weather><p100002>Paris</p100002></Weather>";
    std::ofstream(folder + "/demo/panel/options.xml") << chosen;
    ASSERT_EQ(std::system(demo.c_str()), 0) << read("demo.txt");
    EXPECT_EQ(file_text(installed), config_before);
    EXPECT_NE(read("demo/panel/options.xml").find("Paris"), std::string::npos);
}

} // namespace
