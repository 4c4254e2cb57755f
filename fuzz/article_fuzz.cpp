// The article document of a headline: any bytes in, a filled article or a clean error out.
#include "model/news/article.h"
#include "model/news/loaders.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    news::article a(L"/news/world?itemid=1");
    try {
        news::apply_article(a, text.c_str(), L"host");
    } catch (const std::exception&) {
    }
    // The two pictures come together or not at all.
    if ((a.thumbnail() == nullptr) != (a.full_sized_picture() == nullptr))
        __builtin_trap();
    return 0;
}
