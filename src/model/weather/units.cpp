#include "model/weather/units.h"

#include <algorithm>
#include <cmath>

namespace zor {
namespace units {

namespace {
struct unit {
    const wchar_t* name;
    double factor;
};
const unit times[] = {{L"s", 1}, {L"m", 60}, {L"h", 3600}, {L"ms", 0.001}};
const unit lengths[] = {{L"m", 1},         {L"mm", 0.001},    {L"cm", 0.01},
                        {L"dm", 0.1},      {L"km", 1000},     {L"yard", 0.9144},
                        {L"foot", 0.3048}, {L"inch", 0.0254}, {L"mile", 1609.344}};
const wchar_t* const temperatures[] = {L"C", L"F"};
const wchar_t* const weekdays[] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                   L"Thursday", L"Friday", L"Saturday"};

template <class T, std::size_t N>
const T& at(const T (&table)[N], int i) {
    return table[i >= 0 && static_cast<std::size_t>(i) < N ? i : 0];
}
} // namespace

double time_factor(int u) {
    return at(times, u).factor;
}
double length_factor(int u) {
    return at(lengths, u).factor;
}
const wchar_t* time_name(int u) {
    return at(times, u).name;
}
const wchar_t* length_name(int u) {
    return at(lengths, u).name;
}
const wchar_t* temperature_name(int u) {
    return at(temperatures, u);
}
const wchar_t* weekday_name(int day) {
    return at(weekdays, day);
}

double convert_temperature(int to, int from, double value) {
    if (to == from)
        return value;
    if (to == fahrenheit)
        return value * 1.8 + 32;
    return (value - 32) * 0.5555555555555556;
}

int shown_temperature(int to, double celsius) {
    const double value = std::round(convert_temperature(to, units::celsius, celsius));
    return static_cast<int>(std::max(-2147483648.0, std::min(2147483647.0, value)));
}

double convert_speed(int to_length, int to_time, int from_length, int from_time, double value) {
    return value * (time_factor(to_time) / time_factor(from_time)) /
           (length_factor(to_length) / length_factor(from_length));
}

std::wstring speed_unit_name(int length, int time) {
    return std::wstring(length_name(length)) + L"/" + time_name(time);
}

} // namespace units
} // namespace zor
