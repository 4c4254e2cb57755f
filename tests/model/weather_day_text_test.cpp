#include "model/weather/weather_day_text.h"

#include <gtest/gtest.h>

namespace {

zor::weather_day_text day(bool imperial, int t_min, int t_max, double wind = 0, int uv = 0, int air = 0,
                          const std::wstring& date = L"2026-12-06") {
    return zor::weather_day_text(imperial, date, L"Light rain", L"Cloudy", L"13", air, uv, t_min, t_max,
                                 wind);
}

TEST(weather_day_text, temperatures_follow_the_unit_system_to_the_nearest_degree) {
    const struct {
        int celsius;
        const wchar_t* shown;
    } rows[] = {
        {21, L"70 F"},                    // 69.8
        {-3, L"27 F"},                    // 26.6
        {-20, L"-4 F"},                   // exactly -4
        {-24, L"-11 F"},                  // -11.2, below zero as above it
        {-25, L"-13 F"}, {-29, L"-20 F"}, // -20.2
        {-18, L"0 F"},                    // -0.4
    };
    for (const auto& r : rows)
        EXPECT_EQ(day(true, r.celsius, 0).t_min_text(true), r.shown) << r.celsius;
    EXPECT_EQ(day(false, 21, 21).t_min_text(true), L"21 C");
    EXPECT_EQ(day(false, 5, 12).t_max_text(false), L"12 "); // no unit name, the format's space stays
    // A wild value from a document stays a number (no overflow on the way to Fahrenheit).
    EXPECT_EQ(day(true, 2147483647, 0).t_min_text(true), L"2147483647 F");
    EXPECT_EQ(day(true, -2147483647 - 1, 0).t_min_text(true), L"-2147483648 F");
}

TEST(weather_day_text, wind_uv_air_quality_icon_and_weekday) {
    EXPECT_EQ(day(false, 0, 0, 36).wind_text(), L"10.0 m/s");
    EXPECT_EQ(day(true, 0, 0, 36).wind_text(), L"22.4 mph");
    EXPECT_EQ(day(false, 0, 0, 0, 5).uv_text(), L"high");
    EXPECT_EQ(day(false, 0, 0, 0, 11).uv_text(), L"extreme");
    EXPECT_EQ(day(false, 0, 0, 0, 2).uv_text(), L"low");
    EXPECT_EQ(day(false, 0, 0, 0, -1).uv_text(), L"N/A");
    EXPECT_EQ(day(false, 0, 0, 0, 0, 12).air_quality_text(), L"N/A");
    EXPECT_EQ(day(false, 0, 0, 0, 0, 37).air_quality_text(), L"N/A");
    EXPECT_EQ(day(false, 0, 0, 0, 0, 13).air_quality_text(), L"Breezy");
    EXPECT_EQ(day(false, 0, 0, 0, 0, 36).air_quality_text(), L"Steamy");
    EXPECT_EQ(day(false, 0, 0).icon_image(), L"state_13");
    EXPECT_EQ(day(false, 0, 0).weekday(), L"Sunday");
    EXPECT_EQ(day(false, 0, 0, 0, 0, 0, L"2024-02-29").weekday(), L"Thursday");
    // Dates not in the year-month-day form have no weekday instead of reading past their end.
    for (const wchar_t* bad : {L"", L"2026-12", L"2026/12/0x", L"2026-13-01", L"yyyy-mm-dd"})
        EXPECT_EQ(day(false, 0, 0, 0, 0, 0, bad).weekday(), L"");
}

} // namespace
