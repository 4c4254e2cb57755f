// A feed as the server fetches it: any bytes in, items or a clean refusal out.
#include "feed_reader.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    server::feed f;
    std::string error;
    server::read_feed(bytes, "http://feeds.test/news/rss.xml", f, error);
    return 0;
}
