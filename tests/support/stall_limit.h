#pragma once

#include "platform/http.h"

// While it lives, a transfer that gets no data for this long fails: short, so that a hanging server ends a
// load quickly, or long, so that only the test ends a held transfer.
class stall_limit {
public:
    explicit stall_limit(std::uint32_t stall_ms = 500) : saved(platform::get_http_limits()) {
        platform::http_limits quick = saved;
        quick.stall_timeout_ms = stall_ms;
        platform::set_http_limits(quick);
    }
    ~stall_limit() { platform::set_http_limits(saved); }
    stall_limit(const stall_limit&) = delete;
    stall_limit& operator=(const stall_limit&) = delete;

private:
    platform::http_limits saved;
};
