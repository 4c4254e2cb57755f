#pragma once

#include "fetcher.h"
#include "live_sources.h"

#include <map>
#include <mutex>
#include <string>

namespace server {

// The pictures feeds name: fetched with a size cap and a time-out, decoded, cropped to fill and scaled.
// The decoded picture of the last few addresses is kept, so the sizes the panel asks for one picture cost
// one fetch; an address that failed is not asked again for a while.
class live_pictures : public picture_source {
public:
    struct limits {
        std::size_t max_bytes = 6 * 1024 * 1024;
        int timeout_ms = 15000;
        std::size_t kept = 32;
        int retry_failed_after_s = 600;
    };

    live_pictures(fetcher& web, const limits& l);

    bool picture(const std::string& url, int width, int height, raster& out, std::string& error) override;

private:
    struct failure {
        std::string error;
        std::int64_t when;
    };
    fetcher& web;
    limits config;
    std::mutex m;
    std::map<std::string, std::pair<raster, unsigned long>> decoded; // with the use count at its last use
    std::map<std::string, failure> failed;
    unsigned long uses = 0;
};

} // namespace server
