#pragma once

#include "net/http_buffer.h"

#include <string>

namespace cl {
namespace http {

// One GET on a fresh connection: the body with a zero byte behind it, ready for the XML parser.
buffer fetch_document(const std::wstring& host, const std::wstring& path);

} // namespace http
} // namespace cl
