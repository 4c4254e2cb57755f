// An item's HTML turned into the article's paragraphs: any bytes in, bounded text out.
#include "html_text.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool valid_utf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80                 ? 1
                              : c >= 0xC2 && c <= 0xDF ? 2
                              : c >= 0xE0 && c <= 0xEF ? 3
                              : c >= 0xF0 && c <= 0xF4 ? 4
                                                       : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += n;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string html(reinterpret_cast<const char*>(data), size);
    const server::html_text t = server::html_to_paragraphs(html, "http://feeds.test/a/b.html");
    std::size_t total = 0;
    for (const std::string& p : t.paragraphs) {
        if (p.empty() || p.front() == ' ' || p.back() == ' ')
            std::abort(); // paragraphs are trimmed and never empty
        if (!valid_utf8(p))
            std::abort(); // they go into XML documents in UTF-8
        total += p.size();
    }
    if (total > 256 * 1024)
        std::abort();
    server::html_to_plain_text(html);
    return 0;
}
