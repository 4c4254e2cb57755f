#pragma once

#include "platform/debug_log.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

// Collects the debug log's lines, from any thread, while it lives.
class log_capture {
public:
    log_capture() {
        platform::set_debug_log_capture([this](const std::string& line) {
            std::lock_guard<std::mutex> lock(m);
            captured.push_back(line);
        });
    }
    ~log_capture() { platform::set_debug_log_capture(nullptr); }
    log_capture(const log_capture&) = delete;
    log_capture& operator=(const log_capture&) = delete;

    std::vector<std::string> lines() {
        std::lock_guard<std::mutex> lock(m);
        return captured;
    }
    int count(const std::string& line) {
        std::lock_guard<std::mutex> lock(m);
        return static_cast<int>(std::count(captured.begin(), captured.end(), line));
    }
    bool contains(const std::string& line) { return count(line) > 0; }
    // Every line, each ended by a newline.
    std::string text() {
        std::string all;
        for (const std::string& line : lines())
            all += line + "\n";
        return all;
    }
    void clear() {
        std::lock_guard<std::mutex> lock(m);
        captured.clear();
    }

private:
    std::mutex m;
    std::vector<std::string> captured;
};
