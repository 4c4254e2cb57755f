#pragma once

#include "model/weather/weather.h"

#include <cstdint>
#include <map>
#include <string>

namespace weather {
class manager;
}

namespace zor {

// When the weather pages ask for a city's forecast: while it is missing, and again once it is an hour old.
// A failed load is asked for again after a short pause rather than at every frame, so a broken server is
// not hammered.
class forecast_refresh {
public:
    static constexpr std::uint32_t max_age_ms = 3600000;
    static constexpr std::uint32_t retry_ms = 10000;

    // Queues the city's load when it is due; true when it did. Called every frame while the city is shown.
    bool request_if_due(weather::manager& manager, const weather::city_ptr& city, unsigned long now_ms);

private:
    std::map<std::wstring, std::uint32_t> requested_at;
};

// The caption of forecast day `index`: "Today" for the first, then the weekday names from today's (UTC).
std::wstring forecast_day_label(int index);

} // namespace zor
