#include "support/test_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

bool send_all(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string response(int status, const char* reason, const std::string& body,
                     const std::string& extra_headers = "") {
    return "HTTP/1.1 " + std::to_string(status) + " " + reason +
           "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + extra_headers + "\r\n" + body;
}

// A route's body, or the part a "Range: bytes=FIRST-[LAST]" header asks for (as a media player's seeks do).
std::string routed_response(const std::string& request, const std::string& body) {
    std::string lower = request;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string header = "\r\nrange: bytes=";
    const std::size_t at = lower.find(header);
    if (at == std::string::npos)
        return response(200, "OK", body, "Accept-Ranges: bytes\r\n");
    const char* spec = request.c_str() + at + header.size();
    char* end = nullptr;
    const unsigned long long first = std::strtoull(spec, &end, 10);
    unsigned long long last = body.empty() ? 0 : body.size() - 1;
    if (end && *end == '-' && std::isdigit(static_cast<unsigned char>(end[1])))
        last = std::min(last, std::strtoull(end + 1, nullptr, 10));
    if (body.empty() || first > last)
        return response(416, "Range Not Satisfiable", "",
                        "Content-Range: bytes */" + std::to_string(body.size()) + "\r\n");
    return response(206, "Partial Content", body.substr(first, last - first + 1),
                    "Accept-Ranges: bytes\r\nContent-Range: bytes " + std::to_string(first) + "-" +
                        std::to_string(last) + "/" + std::to_string(body.size()) + "\r\n");
}

} // namespace

std::string http_response(int status, const std::string& body, const std::string& extra_headers) {
    return response(status, "Test", body, extra_headers);
}

std::string request_header(const std::string& request, const std::string& name) {
    std::size_t at = 0;
    while ((at = request.find("\r\n", at)) != std::string::npos) {
        at += 2;
        if (request.size() > at + name.size() &&
            strncasecmp(request.c_str() + at, name.c_str(), name.size()) == 0 &&
            request[at + name.size()] == ':') {
            const std::size_t start = request.find_first_not_of(' ', at + name.size() + 1);
            return request.substr(start, request.find("\r\n", start) - start);
        }
    }
    return std::string();
}

test_http_server::test_http_server() {
    listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int yes = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::listen(listener, 64);
    socklen_t len = sizeof addr;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    acceptor = std::thread([this] { accept_loop(); });
}

test_http_server::~test_http_server() {
    {
        std::lock_guard<std::mutex> lock(m);
        stopping = true;
    }
    cv.notify_all();
    acceptor.join();
    for (auto& w : workers)
        w.join();
    ::close(listener);
}

void test_http_server::add_route(const std::string& path, const std::string& body) {
    std::lock_guard<std::mutex> lock(m);
    silent_routes.erase(path);
    routes[path] = body;
}

void test_http_server::add_handler(const std::string& path, handler h) {
    std::lock_guard<std::mutex> lock(m);
    handlers[path] = std::move(h);
}

void test_http_server::add_silent_route(const std::string& path) {
    std::lock_guard<std::mutex> lock(m);
    silent_routes.insert(path);
}

void test_http_server::hold(const std::string& path) {
    std::lock_guard<std::mutex> lock(m);
    held_routes.insert(path);
}

void test_http_server::release(const std::string& path) {
    {
        std::lock_guard<std::mutex> lock(m);
        held_routes.erase(path);
    }
    cv.notify_all();
}

bool test_http_server::wait_until_held(const std::string& path, int deadline_ms) {
    std::unique_lock<std::mutex> lock(m);
    return cv.wait_for(lock, std::chrono::milliseconds(deadline_ms), [&] { return holding[path] > 0; });
}

int test_http_server::held() {
    std::lock_guard<std::mutex> lock(m);
    int n = 0;
    for (auto& entry : holding)
        n += entry.second;
    return n;
}

std::vector<std::string> test_http_server::targets() {
    std::lock_guard<std::mutex> lock(m);
    return seen_targets;
}

bool test_http_server::wait_for_stop(int ms) {
    std::unique_lock<std::mutex> lock(m);
    return cv.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping.load(); });
}

void test_http_server::accept_loop() {
    while (!stopping) {
        pollfd p{listener, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        ++accepted;
        std::lock_guard<std::mutex> lock(m);
        workers.emplace_back([this, fd] { serve(fd); });
    }
}

void test_http_server::serve(int fd) {
    std::string pending;
    char chunk[4096];
    while (!stopping) {
        std::size_t end = pending.find("\r\n\r\n");
        if (end == std::string::npos) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
            if (n <= 0)
                break;
            pending.append(chunk, static_cast<std::size_t>(n));
            continue;
        }
        std::string request = pending.substr(0, end + 4);
        pending.erase(0, end + 4);
        ++served;
        std::size_t sp1 = request.find(' '), sp2 = request.find(' ', sp1 + 1);
        std::string target = request.substr(sp1 + 1, sp2 - sp1 - 1);
        std::string path = target.substr(0, target.find('?'));

        std::string routed;
        bool has_route;
        handler handle;
        {
            std::unique_lock<std::mutex> lock(m);
            seen_targets.push_back(target);
            const std::string held = held_routes.count(target) ? target : path;
            if (held_routes.count(held)) {
                ++holding[held];
                cv.notify_all();
                cv.wait(lock, [&] { return stopping || !held_routes.count(held); });
                --holding[held];
            }
            if (stopping)
                break;
            const bool silent = silent_routes.count(target) || silent_routes.count(path);
            if (silent)
                path = "/silent";
            auto it = routes.find(target);
            if (it == routes.end())
                it = routes.find(path);
            has_route = !silent && it != routes.end();
            if (has_route)
                routed = it->second;
            auto h = handlers.find(path);
            if (!silent && h != handlers.end())
                handle = h->second;
        }
        if (handle) {
            send_all(fd, handle(request));
        } else if (has_route) {
            send_all(fd, routed_response(request, routed));
        } else if (path == "/doc") {
            send_all(fd, response(200, "OK", "<doc>hello</doc>"));
        } else if (path == "/empty") {
            send_all(fd, response(200, "OK", ""));
        } else if (path == "/notfound") {
            send_all(fd, response(404, "Not Found", "<html><body>Not here</body></html>"));
        } else if (path == "/error") {
            send_all(fd, response(500, "Internal Server Error", "<html><body>Broken</body></html>"));
        } else if (path == "/redirect") {
            send_all(fd, response(302, "Found", "", "Location: /doc\r\n"));
        } else if (path == "/echo") {
            send_all(fd, response(200, "OK", request));
        } else if (path == "/big") {
            std::size_t n = std::stoul(target.substr(target.find("n=") + 2));
            send_all(fd, response(200, "OK", std::string(n, 'x')));
        } else if (path == "/huge") {
            send_all(fd, "HTTP/1.1 200 OK\r\nContent-Length: 1000000000000\r\n\r\n");
            std::string block(65536, 'h');
            while (!stopping && send_all(fd, block)) {
            }
            break;
        } else if (path == "/reset") {
            send_all(fd, "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + std::string(1000, 'r'));
            linger l{1, 0}; // close with a reset instead of an orderly end
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
            break;
        } else if (path == "/silent") {
            wait_for_stop(60000);
            break;
        } else if (path == "/stall") {
            send_all(fd, "HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n" + std::string(100, 's'));
            wait_for_stop(60000);
            break;
        } else {
            send_all(fd, response(404, "Not Found", "no such test page"));
        }
    }
    ::close(fd);
}
