#include "fetcher.h"
#include "live_pictures.h"
#include "support/gzip.h"
#include "support/test_http_server.h"

#include <arpa/inet.h>
#include <atomic>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <thread>

namespace {

using server::fetcher;

fetcher::settings local() {
    fetcher::settings s;
    s.allow_private_addresses = true;
    return s;
}

std::string address(const test_http_server& http, const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(http.port()) + path;
}

fetcher::result get(fetcher& f, const std::string& url, bool conditional = false,
                    std::size_t max_bytes = 1 << 20, int timeout_ms = 30000) {
    fetcher::request r;
    r.url = url;
    r.conditional = conditional;
    r.max_bytes = max_bytes;
    r.timeout_ms = timeout_ms;
    return f.get(r);
}

TEST(fetcher, conditional_requests_gzip_and_permanent_redirects) {
    test_http_server http;
    std::atomic<int> full{0};
    http.add_handler("/feed", [&](const std::string& request) {
        if (request_header(request, "If-None-Match") == "\"v1\"" &&
            request_header(request, "If-Modified-Since") == "Sun, 06 Dec 2026 08:00:00 GMT")
            return http_response(304, "");
        ++full;
        return http_response(200, "<rss/>",
                             "ETag: \"v1\"\r\nLast-Modified: Sun, 06 Dec 2026 08:00:00 GMT\r\n");
    });
    http.add_handler("/zipped", [&](const std::string& request) {
        EXPECT_NE(request_header(request, "Accept-Encoding").find("gzip"), std::string::npos);
        return http_response(200, gzip(std::string(5000, 'z')), "Content-Encoding: gzip\r\n");
    });
    http.add_handler("/old",
                     [&](const std::string&) { return http_response(301, "", "Location: /feed\r\n"); });

    fetcher f(local());
    fetcher::result r = get(f, address(http, "/feed"));
    EXPECT_EQ(r.status, fetcher::outcome::fresh);
    EXPECT_EQ(r.body, "<rss/>");
    EXPECT_EQ(get(f, address(http, "/feed"), true).status, fetcher::outcome::not_modified);
    // Without asking for it, the answer is whole again.
    EXPECT_EQ(get(f, address(http, "/feed"), false).status, fetcher::outcome::fresh);
    EXPECT_EQ(full, 2);

    r = get(f, address(http, "/zipped"));
    EXPECT_EQ(r.body, std::string(5000, 'z'));

    r = get(f, address(http, "/old"));
    EXPECT_EQ(r.status, fetcher::outcome::fresh);
    EXPECT_EQ(r.final_url, address(http, "/feed"));
    get(f, address(http, "/old"));
    int asked_old = 0;
    for (const std::string& t : http.targets())
        asked_old += t == "/old";
    EXPECT_EQ(asked_old, 1); // the second time goes straight to the new address
}

TEST(fetcher, waits_as_a_429_asks_and_reports_failures_clearly) {
    test_http_server http;
    http.add_handler(
        "/busy", [](const std::string&) { return http_response(429, "slow down", "Retry-After: 120\r\n"); });
    fetcher f(local());
    fetcher::result r = get(f, address(http, "/busy"));
    EXPECT_EQ(r.status, fetcher::outcome::deferred);
    // The host is left alone, even for another address, until the time it gave.
    r = get(f, address(http, "/doc"));
    EXPECT_EQ(r.status, fetcher::outcome::deferred);
    EXPECT_EQ(http.targets().size(), 1u);

    test_http_server other;
    struct {
        std::string path;
        const char* error;
    } failures[] = {
        {"/notfound", "HTTP 404"},
        {"/big?n=5000", "answer larger than 1000 bytes"},
        {"/huge", "answer larger than 1000 bytes"},
        {"/reset", ""},
        {"/loop", "too many redirects"},
        {"/to-file", "not an http or https address"},
        {"/stall", ""},
        {"/silent", ""},
    };
    other.add_handler("/loop",
                      [](const std::string&) { return http_response(302, "", "Location: /loop\r\n"); });
    other.add_handler("/to-file", [](const std::string&) {
        return http_response(302, "", "Location: file:///etc/passwd\r\n");
    });
    for (const auto& c : failures) {
        r = get(f, address(other, c.path), false, 1000, 1500);
        EXPECT_EQ(r.status, fetcher::outcome::failed) << c.path;
        EXPECT_NE(r.error.find(c.error), std::string::npos) << c.path << ": " << r.error;
        EXPECT_TRUE(r.body.empty()) << c.path;
    }
}

// The check runs on every connection, so a redirect to such a host is refused the same way.
TEST(fetcher, refuses_private_addresses_unless_allowed) {
    test_http_server http;
    fetcher strict{fetcher::settings()};
    const std::string port = std::to_string(http.port());
    const std::vector<std::string> refused = {
        address(http, "/doc"), "http://localhost:" + port + "/doc",        "http://[::1]:" + port + "/doc",
        "http://10.0.0.1/doc", "http://169.254.169.254/latest/meta-data/", "http://0.0.0.0:" + port + "/doc"};
    for (const std::string& url : refused) {
        fetcher::result r = get(strict, url, false, 1 << 20, 3000);
        EXPECT_EQ(r.status, fetcher::outcome::failed) << url;
        EXPECT_NE(r.error.find("address not allowed"), std::string::npos) << url << ": " << r.error;
    }
    for (const char* url : {"ftp://example.test/", "file:///etc/passwd", "gopher://x/", "/relative"})
        EXPECT_NE(get(strict, url).error.find("not an http or https address"), std::string::npos) << url;
    EXPECT_TRUE(http.targets().empty());

    struct {
        const char* address;
        bool is_private;
    } table[] = {{"127.0.0.1", true},
                 {"10.1.2.3", true},
                 {"172.16.0.1", true},
                 {"172.32.0.1", false},
                 {"192.168.1.1", true},
                 {"169.254.1.1", true},
                 {"100.64.0.1", true},
                 {"8.8.8.8", false},
                 {"93.184.216.34", false},
                 {"224.0.0.1", true},
                 {"::1", true},
                 {"fe80::1", true},
                 {"fd00::1", true},
                 {"::ffff:127.0.0.1", true},
                 {"2001:4860:4860::8888", false}};
    for (const auto& t : table) {
        sockaddr_storage s{};
        if (std::string(t.address).find(':') != std::string::npos) {
            auto* in6 = reinterpret_cast<sockaddr_in6*>(&s);
            in6->sin6_family = AF_INET6;
            inet_pton(AF_INET6, t.address, &in6->sin6_addr);
        } else {
            auto* in = reinterpret_cast<sockaddr_in*>(&s);
            in->sin_family = AF_INET;
            inet_pton(AF_INET, t.address, &in->sin_addr);
        }
        EXPECT_EQ(server::private_address(reinterpret_cast<sockaddr*>(&s)), t.is_private) << t.address;
    }
}

// A picture a feed names on a public host that redirects into the local network: the redirect is refused
// like a first address would be, the remembered permanent redirect too, unless private addresses are allowed.
TEST(fetcher, refuses_redirects_to_private_addresses_unless_allowed) {
    test_http_server inside;
    inside.add_route("/secret.jpg", "secret");
    const std::string secret = "127.0.0.1:" + std::to_string(inside.port()) + "/secret.jpg";
    test_http_server outside; // on the loopback, but counted as a public host below
    const std::uint16_t public_port = static_cast<std::uint16_t>(outside.port());
    fetcher::settings strict;
    strict.is_private = [public_port](const sockaddr* a) {
        const auto* in = reinterpret_cast<const sockaddr_in*>(a);
        if (a->sa_family == AF_INET && ntohl(in->sin_addr.s_addr) == INADDR_LOOPBACK &&
            ntohs(in->sin_port) == public_port)
            return false;
        return server::private_address(a);
    };
    struct {
        const char* path;
        int status;
        std::string to;
    } redirects[] = {
        {"/moved", 301, "http://" + secret},
        {"/found", 302, "http://" + secret},
        {"/by-name", 302, "http://localhost:" + std::to_string(inside.port()) + "/secret.jpg"},
        {"/intranet", 302, "http://10.0.0.1/secret.jpg"},
        {"/metadata", 307, "http://169.254.169.254/latest/meta-data/"},
        {"/ipv6", 308, "http://[::1]:" + std::to_string(inside.port()) + "/secret.jpg"},
        {"/hop", 302, "/found"}, // refused on the second redirect as on the first
    };
    for (const auto& r : redirects) {
        const std::string header = "Location: " + r.to + "\r\n";
        const int status = r.status;
        outside.add_handler(
            r.path, [header, status](const std::string&) { return http_response(status, "", header); });
    }

    fetcher f(strict);
    for (const auto& r : redirects) {
        const fetcher::result got = get(f, address(outside, r.path), false, 1 << 20, 3000);
        EXPECT_EQ(got.status, fetcher::outcome::failed) << r.path;
        EXPECT_NE(got.error.find("address not allowed"), std::string::npos) << r.path << ": " << got.error;
        EXPECT_TRUE(got.body.empty()) << r.path;
    }
    // The second time, the remembered 301 leads straight to the private address: still refused.
    EXPECT_NE(get(f, address(outside, "/moved"), false, 1 << 20, 3000).error.find("address not allowed"),
              std::string::npos);
    // The picture reader reports it, so the server draws a picture instead.
    server::live_pictures pictures(f, server::live_pictures::limits());
    server::raster picture;
    std::string error;
    EXPECT_FALSE(pictures.picture(address(outside, "/found"), 64, 48, picture, error));
    EXPECT_NE(error.find("address not allowed"), std::string::npos) << error;
    EXPECT_TRUE(inside.targets().empty());

    // Allowed, the same redirect reaches the host, so the refusals above are the check's.
    fetcher::settings open = strict;
    open.allow_private_addresses = true;
    fetcher allowed(open);
    const fetcher::result got = get(allowed, address(outside, "/found"));
    EXPECT_EQ(got.status, fetcher::outcome::fresh) << got.error;
    EXPECT_EQ(got.body, "secret");
    EXPECT_EQ(inside.targets(), std::vector<std::string>{"/secret.jpg"});
}

TEST(fetcher, one_request_at_a_time_per_host) {
    test_http_server http;
    http.hold("/first");
    fetcher f(local());
    std::thread first([&] { EXPECT_EQ(get(f, address(http, "/first")).status, fetcher::outcome::failed); });
    ASSERT_TRUE(http.wait_until_held("/first"));
    std::atomic<bool> second_done{false};
    std::thread second([&] {
        get(f, address(http, "/doc"));
        second_done = true;
    });
    // The second request may not reach the server while the first is unanswered: the server would have
    // counted it as served.
    test_http_server other; // another host is not held up meanwhile
    EXPECT_EQ(get(f, address(other, "/doc")).status, fetcher::outcome::fresh);
    EXPECT_EQ(http.requests(), 1);
    EXPECT_FALSE(second_done);
    http.release("/first");
    first.join();
    second.join();
    EXPECT_TRUE(second_done);
    EXPECT_EQ(http.targets(), (std::vector<std::string>{"/first", "/doc"}));
}

} // namespace
