#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

// A response for a handler: the status line, Content-Length, the extra header lines ("Name: value\r\n"...)
// and the body.
std::string http_response(int status, const std::string& body, const std::string& extra_headers = "");
// The value of a header in a request's head, empty when absent.
std::string request_header(const std::string& request, const std::string& name);

// A small HTTP/1.1 server on a free loopback port that misbehaves on request:
//   /doc            200 with "<doc>hello</doc>"      /empty      200 with no body
//   /notfound       404 with an HTML page            /error      500 with an HTML page
//   /redirect       302 to /doc                       /echo       200, the request's header lines as the body
//   /big?n=N        200 with N bytes                  /huge       an endless body
//   /reset          part of the body, then a connection reset
//   /silent         reads the request and never answers
//   /stall          the headers and a little body, then nothing
// Routes answer range requests. Connections are kept alive. Everything stops when the server is destroyed.
class test_http_server {
public:
    test_http_server();
    ~test_http_server();

    // Serves these bytes at the path, or at the whole target when it holds a query (a route for the whole
    // target wins over one for its path; both over the built-in pages).
    void add_route(const std::string& path_or_target, const std::string& body);
    // Answers requests for the path with whatever the handler returns: the whole response, status line and
    // headers included (see http_response). It gets the request's head and runs off the server's lock. A
    // handler wins over routes for the path; an empty one removes it.
    using handler = std::function<std::string(const std::string& request)>;
    void add_handler(const std::string& path, handler h);
    // The path or target behaves as /silent (over any route) until a route is added for it again.
    void add_silent_route(const std::string& path_or_target);
    // Requests for the path or target wait unanswered until release(), then are served as usual.
    void hold(const std::string& path_or_target);
    void release(const std::string& path_or_target);
    // Waits until a request for it is being held; false when none came within the deadline.
    bool wait_until_held(const std::string& path_or_target, int deadline_ms = 30000);
    // Requests being held now, over every path.
    int held();
    // Every request target served, in order.
    std::vector<std::string> targets();

    int port() const { return port_; }
    std::wstring host() const { return L"127.0.0.1:" + std::to_wstring(port_); }
    int connections() const { return accepted; }
    int requests() const { return served; }

private:
    void accept_loop();
    void serve(int fd);
    bool wait_for_stop(int ms);

    int listener = -1;
    int port_ = 0;
    std::atomic<bool> stopping{false};
    std::atomic<int> accepted{0};
    std::atomic<int> served{0};
    std::mutex m;
    std::condition_variable cv;
    std::thread acceptor;
    std::vector<std::thread> workers;
    std::map<std::string, std::string> routes;
    std::map<std::string, handler> handlers;
    std::set<std::string> silent_routes;
    std::set<std::string> held_routes;
    std::map<std::string, int> holding; // requests waiting now, by the path or target that holds them
    std::vector<std::string> seen_targets;
};
