// An item's HTML turned into the article's paragraphs: any bytes in, bounded text out.
#include "html_text.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string html(reinterpret_cast<const char*>(data), size);
    const server::html_text t = server::html_to_paragraphs(html, "http://feeds.test/a/b.html");
    std::size_t total = 0;
    for (const std::string& p : t.paragraphs) {
        if (p.empty() || p.front() == ' ' || p.back() == ' ')
            std::abort(); // paragraphs are trimmed and never empty
        total += p.size();
    }
    if (total > 256 * 1024)
        std::abort();
    server::html_to_plain_text(html);
    return 0;
}
