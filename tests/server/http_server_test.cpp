// The built server over real sockets: concurrent clients, odd requests, failure switches, and the static
// export served by nginx with the same bytes.
#include "support/server_process.h"
#include "support/temp_folder.h"
#include "support/test_http_server.h"
#include "validators.h"

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
    // nginx answers a client that holds the file already with 304 as the server does.
    std::string headers, again;
    ASSERT_EQ(http_get(port, targets[0], body, "", &headers), 200);
    EXPECT_EQ(request_header(headers, "Cache-Control"), "public, max-age=60");
    EXPECT_EQ(http_get(port, targets[0], again, "If-None-Match: " + request_header(headers, "ETag") + "\r\n"),
              304);
    EXPECT_TRUE(again.empty());
}

// A client that already holds an answer asks whether it changed and gets 304 without the body.
TEST(content_server_process, documents_and_pictures_carry_validators_and_unchanged_ones_are_not_sent_again) {
    server_process s(ZOR_CONTENT_SERVER, {"--port", "0"});
    for (const std::string target :
         {"/news/world?width=120&height=90", "/ads?width=480", "/banners/2.jpg?width=480",
          "/zorweather?requestcity=100001", "/mapdata/Mobile_Europe.jpeg"}) {
        std::string body, headers, again;
        ASSERT_EQ(http_get(s.port(), target, body, "", &headers), 200) << target;
        const std::string tag = request_header(headers, "ETag"),
                          since = request_header(headers, "Last-Modified");
        ASSERT_FALSE(tag.empty()) << target;
        ASSERT_FALSE(since.empty()) << target;
        EXPECT_EQ(request_header(headers, "Cache-Control"), "public, max-age=60");
        EXPECT_EQ(http_get(s.port(), target, again, "If-None-Match: " + tag + "\r\n", &headers), 304)
            << target;
        EXPECT_TRUE(again.empty()) << target;
        EXPECT_EQ(request_header(headers, "ETag"), tag);
        EXPECT_EQ(http_get(s.port(), target, again, "If-None-Match: \"old\", W/" + tag + "\r\n"), 304);
        EXPECT_EQ(http_get(s.port(), target, again, "If-Modified-Since: " + since + "\r\n"), 304) << target;
        // A tag of other bytes wins over a date that would match: the body comes.
        EXPECT_EQ(http_get(s.port(), target, again,
                           "If-None-Match: \"old\"\r\nIf-Modified-Since: " + since + "\r\n"),
                  200);
        EXPECT_EQ(again, body) << target;
    }
    // Documents go compressed to a client that takes it.
    std::string packed, packed_headers;
    ASSERT_EQ(http_get(s.port(), "/news/world?width=120&height=90", packed, "Accept-Encoding: gzip\r\n",
                       &packed_headers),
              200);
    EXPECT_EQ(request_header(packed_headers, "Content-Encoding"), "gzip");
    // Failures carry no validators: a client must not keep them as the copy to ask about.
    std::string body, headers;
    ASSERT_EQ(http_get(s.port(), "/zorwmaps?mapid=nowhere", body, "", &headers), 404);
    EXPECT_EQ(request_header(headers, "ETag"), "");
}

TEST(validators, dates_tags_and_conditions) {
    using server::validators;
    EXPECT_EQ(validators::http_date(784111777), "Sun, 06 Nov 1994 08:49:37 GMT");
    EXPECT_EQ(validators::parse_http_date("Sun, 06 Nov 1994 08:49:37 GMT"), 784111777);
    for (const char* bad : {"", "Sun, 06 Nov 1994 08:49:37", "Sun, 06 Xyz 1994 08:49:37 GMT",
                            "Sun, 06 Nov 1994 08:49:37 GMT trailing", "Sunday, 06-Nov-94 08:49:37 GMT"})
        EXPECT_EQ(validators::parse_http_date(bad), -1) << bad;
    EXPECT_EQ(validators::entity_tag("abc"), validators::entity_tag(std::string("abc")));
    EXPECT_NE(validators::entity_tag("abc"), validators::entity_tag("abd"));

    const std::string tag = validators::entity_tag("body");
    const std::time_t at = 784111777;
    struct request {
        const char* if_none_match;
        const char* if_modified_since;
        bool unchanged;
    } cases[] = {
        {"", "", false},
        {"*", "", true},
        {"\"x\" ,  \"y\"", "", false},
        {"", "Sun, 06 Nov 1994 08:49:37 GMT", true},
        {"", "Sun, 06 Nov 1994 08:49:36 GMT", false},
        {"", "Mon, 07 Nov 1994 00:00:00 GMT", true},
        {"", "yesterday", false},
    };
    for (const request& r : cases)
        EXPECT_EQ(validators::not_modified(r.if_none_match, r.if_modified_since, tag, at), r.unchanged)
            << r.if_none_match << " | " << r.if_modified_since;
    EXPECT_TRUE(validators::not_modified("\"x\", " + tag, "", tag, at));

    validators seen;
    EXPECT_EQ(seen.first_served("/a", tag, 100), 100);
    EXPECT_EQ(seen.first_served("/a", tag, 200), 100);
    EXPECT_EQ(seen.first_served("/a", validators::entity_tag("new"), 300), 300);
}

} // namespace
