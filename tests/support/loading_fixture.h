#pragma once

#include "model/config.h"
#include "support/config_file.h"
#include "support/log_capture.h"
#include "support/stall_limit.h"
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
    // The server for news, and for weather too when asked, with one category, World at /news/world, headline
    // pictures of 120 x 90 and article pictures of 440 x 330.
    void configure_world_news(bool weather_too) {
        configure("<server name=\"" + host() + "\"/>" +
                  (weather_too ? "<weather name=\"" + host() + "\"/>" : std::string()) +
                  "<news><headline pict_width=\"120\" pict_height=\"90\"/><categories>"
                  "<category name=\"World\" url=\"/news/world\" color=\"1,2,3\"/></categories>"
                  "<article pict_width=\"440\" pict_height=\"330\"/></news>");
    }

    std::unique_ptr<test_http_server> server{new test_http_server};
    temp_folder folder;
    stall_limit stalls{500};
    log_capture log;
};
