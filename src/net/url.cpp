#include "net/url.h"

#include "platform/text.h"

namespace cl {
namespace http {

std::wstring encode_query_value(const std::wstring& text) {
    static const char hex[] = "0123456789ABCDEF";
    std::wstring out;
    for (unsigned char c : platform::to_utf8(text)) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
            c == '.' || c == '_' || c == '~') {
            out += static_cast<wchar_t>(c);
        } else {
            out += L'%';
            out += static_cast<wchar_t>(hex[c >> 4]);
            out += static_cast<wchar_t>(hex[c & 0xF]);
        }
    }
    return out;
}

} // namespace http
} // namespace cl
