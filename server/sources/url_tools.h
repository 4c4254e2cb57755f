#pragma once

#include <string>

namespace server {

// The reference made absolute against the base (RFC 3986, by libxml2); the reference itself when the base
// is empty or either cannot be read.
std::string resolve_url(const std::string& base, const std::string& reference);

struct url_parts {
    std::string scheme; // lower case
    std::string host;   // lower case, without brackets
    int port = 0;       // the scheme's default when the address names none
};
// False when the address is not an absolute http or https address with a host.
bool split_web_url(const std::string& url, url_parts& out);

// Sixteen hex digits that stay the same for the same text (ids of items and pictures).
std::string stable_id(const std::string& text);

} // namespace server
