#include "model/weather/weather_day_text.h"

#include "model/options.h"
#include "model/weather/units.h"
#include "model/weather/weather.h"

#include <algorithm>
#include <ctime>
#include <cwchar>

namespace zor {

weather_day_text::weather_day_text(options& opts, const weather::forecast_day& day)
    : weather_day_text(opts.flag(L"1.1"), day.date(), day.precipitation(), day.sky(), day.icon(),
                       day.air_quality(), day.uv_index(), day.t_min(), day.t_max(), day.wind_speed()) {}

weather_day_text::weather_day_text(bool imperial, std::wstring date, std::wstring precipitation,
                                   std::wstring sky, std::wstring icon, int air_quality, int uv_index,
                                   int t_min, int t_max, double wind_speed)
    : imperial(imperial), date_(std::move(date)), precipitation_(std::move(precipitation)),
      sky_(std::move(sky)), icon_(std::move(icon)), air_quality_(air_quality), uv_index_(uv_index),
      t_min_(t_min), t_max_(t_max), wind_speed_(wind_speed) {}

std::wstring weather_day_text::weekday() const {
    // Year at character 0, month at 5, day at 8; anything else is a malformed date and has no weekday.
    auto number = [&](std::size_t from, std::size_t count, int& out) {
        out = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (i >= date_.size() || date_[i] < L'0' || date_[i] > L'9')
                return false;
            out = out * 10 + (date_[i] - L'0');
        }
        return true;
    };
    int year, month, day;
    if (!number(0, 4, year) || !number(5, 2, month) || !number(8, 2, day) || month < 1 || month > 12 ||
        day < 1 || day > 31)
        return std::wstring();
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = 12;
    if (timegm(&t) == static_cast<std::time_t>(-1))
        return std::wstring();
    return units::weekday_name(t.tm_wday);
}

std::wstring weather_day_text::temperature_text(int celsius, bool with_unit) const {
    int number = celsius;
    int unit = units::celsius;
    if (imperial) {
        number = units::shown_temperature(units::fahrenheit, celsius);
        unit = units::fahrenheit;
    }
    wchar_t text[15];
    std::swprintf(text, 15, L"%d %ls", number, with_unit ? units::temperature_name(unit) : L"");
    return text;
}

std::wstring weather_day_text::wind_text() const {
    double value;
    std::wstring unit;
    if (imperial) {
        value = units::convert_speed(units::mile, units::hour, units::kilometre, units::hour, wind_speed_);
        unit = L"mph";
    } else {
        value = units::convert_speed(units::metre, units::second, units::kilometre, units::hour, wind_speed_);
        unit = units::speed_unit_name(units::metre, units::second);
    }
    wchar_t text[64];
    std::swprintf(text, 64, L"%.1f %ls", value, unit.c_str());
    return text;
}

std::wstring weather_day_text::uv_text() const {
    if (uv_index_ < 0)
        return L"N/A";
    if (uv_index_ <= 2)
        return L"low";
    if (uv_index_ <= 4)
        return L"medium";
    if (uv_index_ <= 7)
        return L"high";
    if (uv_index_ <= 10)
        return L"very high";
    return L"extreme";
}

std::wstring weather_day_text::air_quality_text() const {
    static const wchar_t* const names[] = {L"Breezy",
                                           L"Windy",
                                           L"Gusty",
                                           L"Blustery",
                                           L"Very Windy",
                                           L"Extremly Windy",
                                           L"High Winds",
                                           L"Beatifuly",
                                           L"Very nice",
                                           L"Nice",
                                           L"Dreary",
                                           L"Smoggy",
                                           L"Low level pollution",
                                           L"Blowing snow",
                                           L"Blowing spray",
                                           L"Dry",
                                           L"Comfortable",
                                           L"Crisp",
                                           L"Raw",
                                           L"Damp",
                                           L"Humid",
                                           L"Muggy",
                                           L"Sultry",
                                           L"Steamy"};
    if (air_quality_ < 13 || air_quality_ > 36)
        return L"N/A";
    return names[air_quality_ - 13];
}

} // namespace zor
