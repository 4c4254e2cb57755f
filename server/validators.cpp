#include "validators.h"

#include <cstdio>
#include <cstring>

namespace server {

namespace {

const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string trimmed(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Weak comparison: W/"x" and "x" are the same entity.
std::string opaque(std::string tag) {
    tag = trimmed(tag);
    if (tag.compare(0, 2, "W/") == 0)
        tag.erase(0, 2);
    return tag;
}

} // namespace

std::string validators::entity_tag(const std::string& body) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : body) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char text[40];
    std::snprintf(text, sizeof text, "\"%016llx-%zx\"", static_cast<unsigned long long>(h), body.size());
    return text;
}

std::string validators::http_date(std::time_t t) {
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[40];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT", days[tm.tm_wday], tm.tm_mday,
                  months[tm.tm_mon], tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return text;
}

std::time_t validators::parse_http_date(const std::string& text) {
    char day[4] = {}, month[4] = {}, zone[4] = {};
    int mday = 0, year = 0, hour = 0, minute = 0, second = 0, used = 0;
    if (std::sscanf(text.c_str(), "%3s, %d %3s %d %d:%d:%d %3s%n", day, &mday, month, &year, &hour, &minute,
                    &second, zone, &used) != 8 ||
        static_cast<std::size_t>(used) != text.size() || std::strcmp(zone, "GMT") != 0)
        return -1;
    int mon = -1;
    for (int i = 0; i < 12; ++i)
        if (std::strcmp(month, months[i]) == 0)
            mon = i;
    if (mon < 0 || mday < 1 || mday > 31 || year < 1970 || hour > 23 || minute > 59 || second > 60)
        return -1;
    std::tm tm{};
    tm.tm_mday = mday;
    tm.tm_mon = mon;
    tm.tm_year = year - 1900;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    return timegm(&tm);
}

std::time_t validators::first_served(const std::string& target, const std::string& tag, std::time_t now) {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = targets.find(target);
    if (it != targets.end() && it->second.tag == tag)
        return it->second.since;
    if (it == targets.end() && targets.size() >= max_targets)
        targets.clear();
    targets[target] = seen{tag, now};
    return now;
}

bool validators::not_modified(const std::string& if_none_match, const std::string& if_modified_since,
                              const std::string& tag, std::time_t last_modified) {
    if (!trimmed(if_none_match).empty()) {
        std::size_t at = 0;
        while (at <= if_none_match.size()) {
            std::size_t comma = if_none_match.find(',', at);
            if (comma == std::string::npos)
                comma = if_none_match.size();
            const std::string one = opaque(if_none_match.substr(at, comma - at));
            if (one == "*" || one == opaque(tag))
                return true;
            at = comma + 1;
        }
        return false;
    }
    const std::time_t since = parse_http_date(trimmed(if_modified_since));
    return since >= 0 && last_modified <= since;
}

} // namespace server
