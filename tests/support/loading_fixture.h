#pragma once

#include "model/config.h"
#include "support/config_file.h"
#include "support/log_capture.h"
#include "support/short_stalls.h"
#include "support/temp_folder.h"
#include "support/test_http_server.h"

#include <gtest/gtest.h>
#include <memory>

// A server on loopback that a test may break or stop, short stall time-outs so that a hanging server fails a
// load quickly, and the debug log collected: for the model's objects loading themselves.
class loading_fixture : public ::testing::Test {
protected:
    void TearDown() override { zor::config::reset(); }
    // Makes <internet> with these elements the configuration.
    void configure(const std::string& elements) {
        use_config(folder, "<internet>" + elements + "</internet>");
    }
    std::string host() const { return narrow(server->host()); }

    std::unique_ptr<test_http_server> server{new test_http_server};
    temp_folder folder;
    short_stalls stalls;
    log_capture log;
};
