#include "pages/weather/forecast_refresh.h"

#include "model/weather/manager.h"
#include "model/weather/units.h"

#include <ctime>

namespace zor {

bool forecast_refresh::request_if_due(weather::manager& manager, const weather::city_ptr& city,
                                      unsigned long now_ms) {
    if (!city)
        return false;
    const auto now = static_cast<std::uint32_t>(now_ms);
    auto asked = requested_at.find(city->id());
    if (city->is_queued()) {
        // The pause after a failure counts from the end of the attempt, not from its start.
        if (asked != requested_at.end())
            asked->second = now;
        return false;
    }
    const bool loaded = city->is_loaded();
    // Stamps are tick counts: the difference is taken in 32 bits so a wrap does not matter.
    const bool old = loaded && now - static_cast<std::uint32_t>(city->timestamp()) > max_age_ms;
    if (loaded && !old)
        return false;
    if (!loaded && city->is_failed() && asked != requested_at.end() && now - asked->second < retry_ms)
        return false;
    manager.load_city(city);
    requested_at[city->id()] = now;
    return true;
}

std::wstring forecast_day_label(int index) {
    if (index == 0)
        return L"Today";
    std::time_t t = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&t, &utc);
    return units::weekday_name((utc.tm_wday + index) % 7);
}

} // namespace zor
