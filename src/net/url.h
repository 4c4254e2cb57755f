#pragma once

#include <string>

namespace cl {
namespace http {

// Percent-encodes text for a query value: letters, digits and -._~ stay, everything else (blanks, '&', '=',
// non-ASCII letters as UTF-8) becomes %XX.
std::wstring encode_query_value(const std::wstring& text);

} // namespace http
} // namespace cl
