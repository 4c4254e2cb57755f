#pragma once

#include <string>

namespace utils {

// Text read from a document, widened as UTF-8 when its bytes are valid UTF-8, otherwise as Windows-1252 (the
// code page older content was written in). A null text reads as "(null)".
std::wstring widen_document_text(const char* text);
bool is_valid_utf8(const std::string& text);

} // namespace utils
