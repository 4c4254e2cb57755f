#pragma once

#include "platform/types.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>

// Every test starts with an empty window system on a 480 x 800 screen.
class window_fixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Dispatches what the calling thread's queue holds.
    static void pump();
};

// Polls (pumping the calling thread's queue) until the condition holds or the time is up.
bool eventually(const std::function<bool()>& condition,
                std::chrono::milliseconds limit = std::chrono::seconds(5));
