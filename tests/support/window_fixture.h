#pragma once

#include "platform/types.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>

// Every test starts with an empty window system on a 480 x 800 screen.
class window_fixture : public ::testing::Test {
public:
    // Dispatches what the calling thread's queue holds.
    static void pump();

protected:
    void SetUp() override;
    void TearDown() override;
};

// Registers a window class of that name whose windows answer with the procedure, by default the default one.
bool register_window_class(const wchar_t* name, platform::WNDPROC proc = nullptr);

// Polls (pumping the calling thread's queue) until the condition holds or the time is up.
bool eventually(const std::function<bool()>& condition,
                std::chrono::milliseconds limit = std::chrono::seconds(5));
