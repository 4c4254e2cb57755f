// The built server over real sockets: concurrent clients, odd requests, failure switches, and the static
// export served by nginx with the same bytes.
#include "support/server_process.h"
#include "support/temp_folder.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

TEST(content_server_process, serves_fifty_clients_at_once_and_survives_odd_requests) {
    server_process s(ZOR_CONTENT_SERVER, {"--port", "0"});
    ASSERT_TRUE(s.ready());
    std::string body;
    EXPECT_EQ(http_get(s.port(), "/news/world?width=120&height=90", body), 200);
    EXPECT_NE(body.find("<newsheadline"), std::string::npos);

    std::atomic<int> ok{0};
    std::vector<std::thread> clients;
    for (int i = 0; i < 50; ++i)
        clients.emplace_back([&, i] {
            std::string b;
            const std::string target = i % 2 ? "/zorweather?searchcity=lon" : "/zorwmaps?pmap=2";
            if (http_get(s.port(), target, b) == 200 && !b.empty())
                ++ok;
        });
    for (auto& c : clients)
        c.join();
    EXPECT_EQ(ok, 50);

    EXPECT_EQ(http_get(s.port(), "/../../../etc/passwd", body), 400);
    EXPECT_EQ(http_get(s.port(), "/news/world?itemid=" + std::string(10 * 1024, 'q'), body) / 100, 4);
    EXPECT_EQ(http_get(s.port(), "/zorweather?requestcity=%zz%", body), 404);
    EXPECT_EQ(http_get(s.port(), "/zorwmaps?mapid=nowhere", body), 404);
    // Still answering after all that.
    EXPECT_EQ(http_get(s.port(), "/ads?width=480", body), 200);
    // The clip made with the server, for the video page.
    ASSERT_EQ(http_get(s.port(), "/video", body), 200);
    EXPECT_GT(body.size(), 10000u);
    EXPECT_EQ(body.compare(0, 4, "\x1A\x45\xDF\xA3"), 0); // a Matroska (WebM) header
    // Players stream it only from a server that answers a range with that part.
    std::string part;
    EXPECT_EQ(http_get(s.port(), "/video", part, "Range: bytes=100-199\r\n"), 206);
    EXPECT_EQ(part, body.substr(100, 100));
}

TEST(content_server_process, failure_switches_are_repeatable) {
    auto statuses = [](const char* seed) {
        server_process s(ZOR_CONTENT_SERVER, {"--port", "0", "--fail-rate", "0.5", "--seed", seed});
        std::string result, body;
        for (int i = 0; i < 20; ++i)
            result += http_get(s.port(), "/ads?width=480", body) == 200 ? '.' : 'x';
        return result;
    };
    const std::string a = statuses("7"), b = statuses("7");
    EXPECT_EQ(a, b);
    EXPECT_NE(a.find('x'), std::string::npos);
    EXPECT_NE(a.find('.'), std::string::npos);

    server_process slow(ZOR_CONTENT_SERVER, {"--port", "0", "--latency", "300"});
    std::string body;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(http_get(slow.port(), "/ads?width=480", body), 200);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
}

TEST(content_server_process, nginx_serves_the_export_byte_for_byte) {
    if (access("/usr/sbin/nginx", X_OK) != 0)
        GTEST_SKIP() << "nginx is not installed";
    temp_folder folder;
    ::chmod(folder.path().c_str(), 0755); // nginx's workers read it as another user
    const int port = free_port();
    const std::string export_cmd = std::string(ZOR_CONTENT_SERVER) + " --export " + folder.path() +
                                   " --export-port " + std::to_string(port) + " > /dev/null";
    ASSERT_EQ(std::system(export_cmd.c_str()), 0);
    // nginx runs in the foreground as our child, its output away from the test's.
    const std::string conf = folder.file("nginx.conf");
    const pid_t nginx = ::fork();
    if (nginx == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::execl("/usr/sbin/nginx", "nginx", "-c", conf.c_str(), "-p", folder.path().c_str(), nullptr);
        ::_exit(127);
    }
    struct stop_nginx {
        pid_t pid;
        ~stop_nginx() {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
    } stopper{nginx};
    std::string body;
    int ready = -1;
    for (int i = 0; i < 100 && (ready = http_get(port, "/ads?width=480", body)) != 200; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_EQ(ready, 200) << folder.read("error.log");

    server_process s(ZOR_CONTENT_SERVER, {"--port", "0"});
    std::vector<std::string> targets = {"/news/world?width=120&height=90",
                                        "/news/sport/tennis?width=120&height=90",
                                        "/ads?width=480",
                                        "/banners/2.jpg?width=480",
                                        "/zorwmaps?pmap=10",
                                        "/zorwmaps?mapid=eu-west",
                                        "/mapdata/Mobile_Europe.jpeg",
                                        "/mapdata/zones/au-nz.jpeg"};
    // And a picture named in an exported list.
    std::string list;
    ASSERT_EQ(http_get(s.port(), "/news/science?width=120&height=90", list), 200);
    const std::size_t at = list.find("/pictures/");
    ASSERT_NE(at, std::string::npos);
    std::string picture = list.substr(at, list.find('"', at) - at);
    for (std::size_t p; (p = picture.find("&amp;")) != std::string::npos;)
        picture.replace(p, 5, "&");
    targets.push_back(picture);
    for (const std::string& target : targets) {
        std::string from_server, from_nginx;
        ASSERT_EQ(http_get(s.port(), target, from_server), 200) << target;
        ASSERT_EQ(http_get(port, target, from_nginx), 200) << target << "\n" << folder.read("error.log");
        EXPECT_TRUE(from_server == from_nginx) << target;
    }
}

} // namespace
