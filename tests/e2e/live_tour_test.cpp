// The home screen with the panel, headless, reading the content server that reads the fixture feeds and
// forecasts: home, a category's headlines, an article with its picture, a city's forecast. The screenshots
// stay in the build tree for reviewers.
#include "support/fixture_sources.h"
#include "support/png_reader.h"
#include "support/server_process.h"
#include "support/temp_folder.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {

// Pixels close to the ferry picture's orange.
int orange_pixels(const rgb_picture& p) {
    int n = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const std::uint32_t c = p.at(x, y);
            const int r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
            n += r > 230 && g > 100 && g < 156 && b < 40;
        }
    return n;
}

TEST(live_tour, the_panel_shows_the_fixture_feeds_and_forecast) {
    temp_folder folder;
    fixture_sources fixtures(folder);
    server_process server(ZOR_CONTENT_SERVER, {"--port", "0", "--sources", fixtures.sources_file()});
    ASSERT_TRUE(server.ready());

    // A copy of the install folder whose config.xml names this server, with Paris as the home city.
    const std::string panel = folder.file("panel");
    ASSERT_EQ(std::system(("cp -r " + std::string(ZOR_PANEL_DIR) + " " + panel).c_str()), 0);
    std::ifstream in(panel + "/config.xml");
    std::string config((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const char* tag : {"<server name=\"", "<weather name=\""}) {
        std::size_t at = config.find(tag);
        ASSERT_NE(at, std::string::npos);
        at += std::string(tag).size();
        config.replace(at, config.find('"', at) - at, "127.0.0.1:" + std::to_string(server.port()));
    }
    std::ofstream(panel + "/config.xml") << config;
    std::ofstream(panel + "/options.xml")
        << "<?xml version=\"1.0\"?><Settings><p1.2>true</p1.2><p2.1>true</p2.1><p2.2>true</p2.2></Settings>"
           "<Weather><p2988507>Paris</p2988507></Weather>";

    const std::string shots = ZOR_LIVE_TOUR_SHOTS;
    ASSERT_EQ(std::system(("rm -rf " + shots + " && mkdir -p " + shots).c_str()), 0);
    const std::string cmd = std::string(ZOR_SHELL) + " --panel " + panel + " --headless --tour " +
                            ZOR_LIVE_TOUR + " --shots " + shots + " --log " + folder.file("log.txt") + " 2>" +
                            folder.file("stderr.txt");
    const int status = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << folder.read("stderr.txt");

    for (const char* shot : {"01-home", "02-world", "03-article", "04-forecast"}) {
        const rgb_picture p = read_png(shots + "/" + shot + ".png");
        EXPECT_EQ(p.width, 480) << shot;
        EXPECT_EQ(p.height, 800) << shot;
    }
    // The ferry's WebP reached the screen: in the headline list and, larger, in its article.
    const int in_list = orange_pixels(read_png(shots + "/02-world.png"));
    const int in_article = orange_pixels(read_png(shots + "/03-article.png"));
    EXPECT_GT(in_list, 2000);
    EXPECT_GT(in_article, in_list);
}

} // namespace
