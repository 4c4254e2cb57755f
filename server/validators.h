#pragma once

#include <cstdint>
#include <ctime>
#include <map>
#include <mutex>
#include <string>

namespace server {

// What lets a client ask "has this changed?" instead of fetching it again: an entity tag made from the bytes
// of an answer, the time those bytes were first served for the target, and the test of a conditional
// request against both.
class validators {
public:
    // A strong tag: the same bytes always give the same tag, in every run of the server.
    static std::string entity_tag(const std::string& body);
    // An HTTP date (RFC 9110 IMF-fixdate); parse_http_date gives -1 for anything else.
    static std::string http_date(std::time_t t);
    static std::time_t parse_http_date(const std::string& text);

    // When this server first gave these bytes for the target (now, the first time it sees them).
    std::time_t first_served(const std::string& target, const std::string& tag, std::time_t now);

    // Whether a GET with these request headers ("" when absent) may be answered 304 Not Modified:
    // If-None-Match when present (a list of tags or "*", compared weakly), else If-Modified-Since.
    static bool not_modified(const std::string& if_none_match, const std::string& if_modified_since,
                             const std::string& tag, std::time_t last_modified);

private:
    struct seen {
        std::string tag;
        std::time_t since;
    };
    std::mutex mutex;
    // Bounded: odd targets without end (searches, picture sizes) must not grow it for good.
    static constexpr std::size_t max_targets = 20000;
    std::map<std::string, seen> targets;
};

} // namespace server
