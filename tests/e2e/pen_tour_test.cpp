// A city added by pen alone, on the home screen's keyboard, against the content server and its demo
// content, in each orientation: the tours shipped with the shell, run headless. The screenshots stay in the
// build tree.
#include "support/config_file.h"
#include "support/png_reader.h"
#include "support/server_process.h"
#include "support/temp_folder.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {

struct orientation {
    const char* name;
    const char* tour;
    const char* flag;
    int width;
    // Screen rows: the bottom of the field, where the keyboard starts, and the top of the command bar.
    int field_bottom;
    int bar_top;
};

// The share of the pixels of the rows [top, bottom) that pass the test.
template <class Test>
double share(const rgb_picture& p, int top, int bottom, Test test) {
    long n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < p.width; ++x)
            n += test(p.at(x, y)) ? 1 : 0;
    return static_cast<double>(n) / (static_cast<double>(bottom - top) * p.width);
}

bool white(std::uint32_t c) {
    return c == 0xFFFFFF;
}

bool dark(std::uint32_t c) {
    return (c >> 16) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && (c & 0xFF) < 0x60;
}

bool red(std::uint32_t c) {
    return (c >> 16) > 180 && ((c >> 8) & 0xFF) < 90 && (c & 0xFF) < 90;
}

// The weather page is the one with the tab arrows at both ends of the band under the header; the pages of
// its items show a plain title there.
bool weather_page(const rgb_picture& p) {
    int left = 0, right = 0;
    for (int y = 110; y < 156; ++y)
        for (int x = 8; x < 60; ++x) {
            left += red(p.at(x, y)) ? 1 : 0;
            right += red(p.at(p.width - 1 - x, y)) ? 1 : 0;
        }
    return left > 40 && right > 40;
}

class pen_tour : public ::testing::TestWithParam<orientation> {};

TEST_P(pen_tour, types_searches_picks_adds_and_goes_back_without_a_key) {
    const orientation& o = GetParam();
    temp_folder folder;
    server_process server(ZOR_CONTENT_SERVER, {"--port", "0"});
    ASSERT_TRUE(server.ready());

    // A copy of the install folder whose config.xml names this server, with London as the home city.
    const std::string panel = folder.file("panel");
    ASSERT_EQ(std::system(("cp -r " + std::string(ZOR_PANEL_DIR) + " " + panel).c_str()), 0);
    const std::string config = config_pointed_at(panel + "/config.xml", narrow(server.host()));
    ASSERT_FALSE(config.empty());
    std::ofstream(panel + "/config.xml") << config;
    std::ofstream(panel + "/options.xml")
        << "<?xml version=\"1.0\"?><Settings><p1.2>true</p1.2><p100001>true</p100001></Settings>"
           "<Weather><p100001>London</p100001></Weather>";

    const std::string shots = std::string(ZOR_PEN_TOUR_SHOTS) + "/" + o.name;
    ASSERT_EQ(std::system(("rm -rf " + shots + " && mkdir -p " + shots).c_str()), 0);
    const std::string cmd = std::string(ZOR_SHELL) + " --panel " + panel + " --headless --tour " + ZOR_TOURS +
                            "/" + o.tour + " --shots " + shots + " --log " + folder.file("log.txt") + " " +
                            o.flag + " 2>" + folder.file("stderr.txt");
    const int status = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << folder.read("stderr.txt");
    EXPECT_EQ(folder.read("log.txt").find("had not settled"), std::string::npos) << folder.read("log.txt");

    // Paris joined the user's cities, after the home city.
    std::ifstream in(panel + "/options.xml");
    const std::string options((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t cities = options.find("<Weather>");
    ASSERT_NE(cities, std::string::npos) << options;
    EXPECT_LT(options.find("London", cities), options.find(">Paris<", cities)) << options;
    EXPECT_NE(options.find(">Paris<", cities), std::string::npos) << options;

    // Each step shows the page it should: "Add" and Back from the city's forecast return to the weather page.
    const std::pair<const char*, bool> pages[] = {{"pen01-weather", true},   {"pen02-keyboard-up", false},
                                                  {"pen05-results", false},  {"pen06-back-to-field", false},
                                                  {"pen07-picked", false},   {"pen08-added", true},
                                                  {"pen09-forecast", false}, {"pen10-back-on-weather", true}};
    for (const auto& page : pages)
        EXPECT_EQ(weather_page(read_png(shots + "/" + page.first + ".png")), page.second) << page.first;

    // The keyboard sits directly below the field and stops above the command bar, which stays dark with its
    // labels; a tap beside the field puts it away.
    for (const char* shot : {"pen02-keyboard-up", "pen04-typed", "pen06-back-to-field"}) {
        SCOPED_TRACE(shot);
        const rgb_picture p = read_png(shots + "/" + shot + ".png");
        ASSERT_EQ(p.width, o.width);
        EXPECT_GT(share(p, o.field_bottom + 8, o.field_bottom + 12, white), 0.6); // the top row of keys
        EXPECT_GT(share(p, o.field_bottom, o.bar_top, white), 0.3);
        EXPECT_GT(share(p, o.bar_top, o.bar_top + 40, dark), 0.85);
    }
    const rgb_picture hidden = read_png(shots + "/pen03-keyboard-hidden.png");
    EXPECT_LT(share(hidden, o.field_bottom, o.bar_top, white), 0.01);
    EXPECT_GT(share(hidden, o.bar_top, o.bar_top + 40, dark), 0.85);
}

INSTANTIATE_TEST_SUITE_P(orientations, pen_tour,
                         ::testing::Values(orientation{"portrait", "pen_only.tour", "", 480, 462, 760},
                                           orientation{"landscape", "pen_only_landscape.tour", "--landscape",
                                                       800, 258, 440}),
                         [](const ::testing::TestParamInfo<orientation>& info) { return info.param.name; });

} // namespace
