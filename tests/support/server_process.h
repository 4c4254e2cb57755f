#pragma once

#include <string>
#include <vector>

// Runs a program that prints "... listening on http://HOST:PORT" when ready; stops it when destroyed.
class server_process {
public:
    server_process(const std::string& program, const std::vector<std::string>& args);
    ~server_process();
    server_process(const server_process&) = delete;
    server_process& operator=(const server_process&) = delete;

    bool ready() const { return port_ > 0; }
    int port() const { return port_; }
    std::wstring host() const { return L"127.0.0.1:" + std::to_wstring(port_); }
    void stop();

private:
    int pid = -1;
    int port_ = 0;
};

// A free TCP port on loopback at the moment of asking.
int free_port();
// GET over a plain socket: the status code and the body (-1 when no answer), and the response's head when
// asked for (its header values are read with request_header of test_http_server.h).
int http_get(int port, const std::string& target, std::string& body, const std::string& headers = "",
             std::string* response_headers = nullptr);
