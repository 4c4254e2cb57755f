#pragma once

#include <string>

// Units of the weather texts. The server's values are Celsius and km/h.
namespace zor {
namespace units {

enum time_unit { second = 0, minute = 1, hour = 2, millisecond = 3 };
enum length_unit { metre = 0, millimetre, centimetre, decimetre, kilometre, yard, foot, inch, mile };
enum temperature_unit { celsius = 0, fahrenheit = 1 };

double time_factor(int unit);
double length_factor(int unit);
const wchar_t* time_name(int unit);
const wchar_t* length_name(int unit);
const wchar_t* temperature_name(int unit);
// 0 Sunday to 6 Saturday.
const wchar_t* weekday_name(int day);

double convert_temperature(int to, int from, double value);
// A Celsius value as the texts show it in the unit: to the nearest degree, halves away from zero, every
// page alike; beyond what an int holds it stops at the limit.
int shown_temperature(int to, double celsius);
double convert_speed(int to_length, int to_time, int from_length, int from_time, double value);
// "m/s" and the like.
std::wstring speed_unit_name(int length, int time);

} // namespace units
} // namespace zor
