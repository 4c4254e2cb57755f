#include "support/server_process.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

server_process::server_process(const std::string& program, const std::vector<std::string>& args) {
    int out[2];
    if (::pipe(out) != 0)
        return;
    pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    // The first line tells the port; the rest of the output (the request log) is drained until the server
    // ends.
    std::string line;
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n')
        line += c;
    std::size_t colon = line.rfind(':');
    if (line.find("listening on") != std::string::npos && colon != std::string::npos)
        port_ = std::atoi(line.c_str() + colon + 1);
    std::thread([fd = out[0]] {
        char buffer[4096];
        while (::read(fd, buffer, sizeof buffer) > 0) {
        }
        ::close(fd);
    }).detach();
}

server_process::~server_process() {
    stop();
}

void server_process::stop() {
    if (pid > 0) {
        ::kill(pid, SIGTERM);
        int status;
        ::waitpid(pid, &status, 0);
        pid = -1;
    }
}

int free_port() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

int http_get(int port, const std::string& target, std::string& body, const std::string& headers,
             std::string* response_headers) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    timeval tv{10, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    const std::string request =
        "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n" + headers + "\r\n";
    ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    std::string response;
    char buffer[65536];
    ssize_t n;
    while ((n = ::recv(fd, buffer, sizeof buffer, 0)) > 0)
        response.append(buffer, static_cast<std::size_t>(n));
    ::close(fd);
    const std::size_t end = response.find("\r\n\r\n");
    if (response.compare(0, 9, "HTTP/1.1 ") != 0 || end == std::string::npos)
        return -1;
    body = response.substr(end + 4);
    if (response_headers)
        *response_headers = response.substr(0, end + 2);
    // Bodies sent in chunks are joined.
    if (response.substr(0, end).find("Transfer-Encoding: chunked") != std::string::npos) {
        std::string joined;
        std::size_t at = 0;
        while (at < body.size()) {
            std::size_t eol = body.find("\r\n", at);
            std::size_t size = std::strtoul(body.substr(at, eol - at).c_str(), nullptr, 16);
            if (size == 0)
                break;
            joined += body.substr(eol + 2, size);
            at = eol + 2 + size + 2;
        }
        body = joined;
    }
    return std::atoi(response.c_str() + 9);
}
