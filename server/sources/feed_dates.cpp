#include "feed_dates.h"

#include <cctype>
#include <cstring>
#include <ctime>

namespace server {

namespace {

// Days from 1970-01-01 to the date (proleptic Gregorian), without the C library's time zone.
std::int64_t days_from_civil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

bool valid(int y, int mo, int d, int h, int mi, int s) {
    static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return y >= 1900 && y <= 9999 && mo >= 1 && mo <= 12 && d >= 1 && d <= days[mo - 1] && h >= 0 &&
           h <= 24 && mi >= 0 && mi <= 59 && s >= 0 && s <= 60;
}

std::int64_t to_seconds(int y, int mo, int d, int h, int mi, int s, int offset_minutes) {
    return days_from_civil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) * 86400 + h * 3600 +
           mi * 60 + s - offset_minutes * 60;
}

struct cursor {
    const char* p;
    const char* end;
    void skip_spaces() {
        while (p < end && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n'))
            ++p;
    }
    bool digits(int min_count, int max_count, int& out) {
        int n = 0, v = 0;
        while (p < end && n < max_count && std::isdigit(static_cast<unsigned char>(*p))) {
            v = v * 10 + (*p++ - '0');
            ++n;
        }
        out = v;
        return n >= min_count;
    }
    bool take(char c) {
        if (p < end && *p == c) {
            ++p;
            return true;
        }
        return false;
    }
    std::string word() {
        const char* start = p;
        while (p < end && std::isalpha(static_cast<unsigned char>(*p)))
            ++p;
        return std::string(start, p);
    }
};

bool same(const std::string& a, const char* b) {
    return a.size() == std::strlen(b) && strncasecmp(a.c_str(), b, a.size()) == 0;
}

// "+0200", "-05:00", "GMT", "UT", "EST"... in minutes east of UTC.
bool zone_offset(cursor& c, int& minutes) {
    c.skip_spaces();
    if (c.p < c.end && (*c.p == '+' || *c.p == '-')) {
        const int sign = *c.p++ == '-' ? -1 : 1;
        int hh = 0, mm = 0;
        if (!c.digits(2, 2, hh))
            return false;
        c.take(':');
        if (!c.digits(2, 2, mm) || hh > 23 || mm > 59)
            return false;
        minutes = sign * (hh * 60 + mm);
        return true;
    }
    static const struct {
        const char* name;
        int hours;
    } names[] = {{"GMT", 0},  {"UT", 0},   {"UTC", 0},  {"Z", 0},    {"EST", -5}, {"EDT", -4}, {"CST", -6},
                 {"CDT", -5}, {"MST", -7}, {"MDT", -6}, {"PST", -8}, {"PDT", -7}, {"CET", 1},  {"CEST", 2},
                 {"BST", 1},  {"IST", 1},  {"EET", 2},  {"EEST", 3}, {"JST", 9},  {"AEST", 10}};
    const std::string w = c.word();
    if (w.empty()) {
        minutes = 0; // a date without a zone is read as UTC
        return true;
    }
    for (const auto& n : names)
        if (same(w, n.name)) {
            minutes = n.hours * 60;
            return true;
        }
    return w.size() == 1; // other military letters: their meaning was never agreed, so UTC
}

} // namespace

bool parse_rfc822_date(const std::string& text, std::int64_t& seconds) {
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    cursor c{text.data(), text.data() + text.size()};
    c.skip_spaces();
    const char* mark = c.p;
    if (!c.word().empty()) { // the day's name is optional and not checked
        c.skip_spaces();
        c.take(',');
    } else {
        c.p = mark;
    }
    c.skip_spaces();
    int d = 0, y = 0, h = 0, mi = 0, s = 0, mo = 0;
    if (!c.digits(1, 2, d))
        return false;
    c.skip_spaces();
    const std::string month = c.word();
    for (int i = 0; i < 12; ++i)
        if (month.size() >= 3 && strncasecmp(month.c_str(), months[i], 3) == 0)
            mo = i + 1;
    c.skip_spaces();
    const char* year_start = c.p;
    if (mo == 0 || !c.digits(2, 4, y))
        return false;
    if (c.p - year_start == 2)
        y += y < 50 ? 2000 : 1900;
    else if (c.p - year_start == 3)
        return false;
    c.skip_spaces();
    if (!c.digits(1, 2, h) || !c.take(':') || !c.digits(2, 2, mi))
        return false;
    if (c.take(':') && !c.digits(2, 2, s))
        return false;
    int offset = 0;
    if (!zone_offset(c, offset) || !valid(y, mo, d, h, mi, s))
        return false;
    seconds = to_seconds(y, mo, d, h, mi, s, offset);
    return true;
}

bool parse_rfc3339_date(const std::string& text, std::int64_t& seconds) {
    cursor c{text.data(), text.data() + text.size()};
    c.skip_spaces();
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (!c.digits(4, 4, y) || !c.take('-') || !c.digits(2, 2, mo) || !c.take('-') || !c.digits(2, 2, d))
        return false;
    // A date alone (seen in dc:date) is midnight UTC.
    if (c.p < c.end && (*c.p == 'T' || *c.p == 't' || *c.p == ' ')) {
        ++c.p;
        if (!c.digits(2, 2, h) || !c.take(':') || !c.digits(2, 2, mi))
            return false;
        if (c.take(':') && !c.digits(2, 2, s))
            return false;
        if (c.take('.') || c.take(',')) {
            int fraction = 0;
            if (!c.digits(1, 9, fraction))
                return false;
            while (c.p < c.end && std::isdigit(static_cast<unsigned char>(*c.p)))
                ++c.p;
        }
    }
    int offset = 0;
    if (!zone_offset(c, offset) || !valid(y, mo, d, h, mi, s))
        return false;
    c.skip_spaces();
    if (c.p != c.end)
        return false;
    seconds = to_seconds(y, mo, d, h, mi, s, offset);
    return true;
}

bool parse_feed_date(const std::string& text, std::int64_t& seconds) {
    return parse_rfc3339_date(text, seconds) || parse_rfc822_date(text, seconds);
}

} // namespace server
