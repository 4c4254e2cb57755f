// Runs the built home screen headless with the built panel, as a reviewer does.
#include "support/png_reader.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

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
    std::string read(const std::string& name) {
        std::ifstream in(folder + "/" + name);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string folder;
};

TEST_F(shell_tour, start_pause_resume_rotate_and_stop) {
    ASSERT_EQ(run_shell("wait 150\nshot start\npause\nwait 50\nresume\ntap 240 400\nkey soft1\nrotate\n"
                        "wait 100\nshot rotated\nquit\n"),
              0)
        << read("stderr.txt");
    rgb_picture start = read_png(folder + "/shots/start.png");
    EXPECT_EQ(start.width, 480);
    EXPECT_EQ(start.height, 800);
    rgb_picture rotated = read_png(folder + "/shots/rotated.png");
    EXPECT_EQ(rotated.width, 800);
    EXPECT_EQ(rotated.height, 480);

    std::string log = read("log.txt");
    for (const char* line :
         {"+ cl::app::game_loop::run", "+ cl::app::game_loop::pause", "+ cl::app::game_loop::resume",
          "- zor::app::zor_game_loop::cleanup", "- cl::ui::main_window::done_instance"})
        EXPECT_NE(log.find(line), std::string::npos) << line;
    // Stop came before the window went: the loop ended inside stop_app.
    EXPECT_LT(log.find("- cl::app::game_loop::run"), log.find("+ cl::ui::main_window::done_instance"));
}

TEST_F(shell_tour, landscape_start_and_failures_exit_non_zero) {
    EXPECT_EQ(run_shell("shot wide\n", ZOR_PANEL_DIR, "--landscape"), 0);
    EXPECT_EQ(read_png(folder + "/shots/wide.png").width, 800);
    EXPECT_NE(run_shell("wait 1\n", "/nonexistent"), 0);
    EXPECT_NE(read("stderr.txt").find("cannot load"), std::string::npos);
    EXPECT_NE(run_shell("fly away\n"), 0);
    EXPECT_NE(read("stderr.txt").find("line 1"), std::string::npos);
}

} // namespace
