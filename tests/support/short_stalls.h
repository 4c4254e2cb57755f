#pragma once

#include "platform/http.h"

// While it lives, a transfer that gets no data for the time fails, so a hanging server ends a load quickly.
class short_stalls {
public:
    explicit short_stalls(std::uint32_t stall_ms = 500) : saved(platform::get_http_limits()) {
        platform::http_limits quick = saved;
        quick.stall_timeout_ms = stall_ms;
        platform::set_http_limits(quick);
    }
    ~short_stalls() { platform::set_http_limits(saved); }
    short_stalls(const short_stalls&) = delete;
    short_stalls& operator=(const short_stalls&) = delete;

private:
    platform::http_limits saved;
};
