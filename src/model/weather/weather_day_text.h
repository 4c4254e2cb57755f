#pragma once

#include <string>

namespace weather {
class forecast_day;
}

namespace zor {

class options;

// One forecast day as the user reads it: the values copied from the day, turned into texts in the user's
// unit system (the "Imperial System" option, otherwise metric).
class weather_day_text {
public:
    weather_day_text(options& opts, const weather::forecast_day& day);
    // Plain values (tests and callers without a forecast object).
    weather_day_text(bool imperial, std::wstring date, std::wstring precipitation, std::wstring sky,
                     std::wstring icon, int air_quality, int uv_index, int t_min, int t_max,
                     double wind_speed);

    // The weekday of a "YYYY-MM-DD" date; empty for a date not in that form.
    std::wstring weekday() const;
    std::wstring sky() const { return sky_; }
    std::wstring precipitation() const { return precipitation_; }
    // The picture key of the day's weather.
    std::wstring icon_image() const { return L"state_" + icon_; }
    std::wstring t_min_text(bool with_unit) const { return temperature_text(t_min_, with_unit); }
    std::wstring t_max_text(bool with_unit) const { return temperature_text(t_max_, with_unit); }
    std::wstring wind_text() const;
    std::wstring uv_text() const;
    std::wstring air_quality_text() const;

private:
    std::wstring temperature_text(int celsius, bool with_unit) const;

    bool imperial;
    std::wstring date_;
    std::wstring precipitation_;
    std::wstring sky_;
    std::wstring icon_;
    int air_quality_;
    int uv_index_;
    int t_min_;
    int t_max_;
    double wind_speed_;
};

} // namespace zor
