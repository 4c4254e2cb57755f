#pragma once

#include "net/http_buffer.h"

#include <string>

namespace cl {
namespace http {

// One GET on the process's kept-alive document connection (opened when there is none or it serves another
// host): the body with a zero byte behind it, ready for the XML parser. Callers on several threads take
// turns.
buffer fetch_document(const std::wstring& host, const std::wstring& path);

} // namespace http
} // namespace cl
