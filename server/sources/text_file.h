#pragma once

#include <string>

namespace server {

// The whole file; false with "cannot read PATH" when it cannot be opened.
bool read_text_file(const std::string& path, std::string& text, std::string& error);

} // namespace server
