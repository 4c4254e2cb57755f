#pragma once

#include "support/temp_folder.h"
#include "support/test_http_server.h"

#include <string>

// The fixture feeds of tests/server/fixtures, their pictures (an orange WebP for the ferry, a blue PNG, a
// grey JPEG) and an Open-Meteo-shaped forecast and air-quality service on a local test server, with a
// sources file naming them for every category of the default config.xml (Culture's feed is missing). The
// forecasts are dated from today, as the service's are.
// The UTC date, YYYY-MM-DD, this many days from today: the fixture forecast's days run from today on.
std::string fixture_day(int offset);

class fixture_sources {
public:
    explicit fixture_sources(const temp_folder& folder);

    test_http_server& server() { return http; }
    const std::string& sources_file() const { return path; }

private:
    test_http_server http;
    std::string path;
};
