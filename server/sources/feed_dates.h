#pragma once

#include <cstdint>
#include <string>

namespace server {

// Seconds since 1970-01-01 UTC of a feed's date, false when the text is not one.
// RFC 822 (RSS 2.0: "Sat, 07 Sep 2002 09:42:31 GMT", "+0200", "EST", two-digit years) and
// RFC 3339 (Atom and Dublin Core: "2002-09-07T09:42:31.5+02:00", "Z").
bool parse_rfc822_date(const std::string& text, std::int64_t& seconds);
bool parse_rfc3339_date(const std::string& text, std::int64_t& seconds);
// Either form.
bool parse_feed_date(const std::string& text, std::int64_t& seconds);

} // namespace server
