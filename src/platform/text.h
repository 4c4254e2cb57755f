#pragma once

#include <string>

namespace platform {

// UTF-8 <-> wide text. Invalid UTF-8 bytes become U+FFFD; invalid code points are written as U+FFFD.
std::string to_utf8(const std::wstring& text);
std::wstring from_utf8(const std::string& text);

} // namespace platform
