#include "model/updated_mark.h"

#include <ctime>
#include <cwchar>

namespace zor {

namespace {

std::tm local(std::int64_t t) {
    const std::time_t when = static_cast<std::time_t>(t);
    std::tm out{};
    localtime_r(&when, &out);
    return out;
}

bool same_day(const std::tm& a, const std::tm& b) {
    return a.tm_year == b.tm_year && a.tm_yday == b.tm_yday;
}

} // namespace

std::wstring updated_mark(std::int64_t copy_time, std::int64_t now) {
    if (copy_time == 0)
        return std::wstring();
    const std::tm then = local(copy_time);
    const std::tm today = local(now);
    wchar_t text[32];
    if (same_day(then, today) || copy_time > now) {
        std::wcsftime(text, sizeof text / sizeof text[0], L"Updated %H:%M", &then);
        return text;
    }
    // Yesterday is the day that holds the last second before today began.
    std::tm midnight = today;
    midnight.tm_hour = midnight.tm_min = midnight.tm_sec = 0;
    midnight.tm_isdst = -1;
    if (same_day(then, local(static_cast<std::int64_t>(std::mktime(&midnight)) - 1)))
        return L"Updated yesterday";
    static const wchar_t* const months[12] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                              L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
    return L"Updated " + std::to_wstring(then.tm_mday) + L" " + months[then.tm_mon];
}

std::wstring updated_mark(std::int64_t copy_time) {
    return updated_mark(copy_time, static_cast<std::int64_t>(std::time(nullptr)));
}

} // namespace zor
