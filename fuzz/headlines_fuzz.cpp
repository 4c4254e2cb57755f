// The headlines document of a category: any bytes in, a filled category or a clean error out.
#include "model/news/category.h"
#include "model/news/headline.h"
#include "model/news/loaders.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    news::category c(L"World", L"/news/world", 0);
    try {
        news::headlines_loader::apply(c, text.c_str(), L"host");
    } catch (const std::exception&) {
    }
    // Every headline kept, also from a document rejected half-way, is whole and belongs to this category; a
    // picture comes only with an address.
    for (const auto& h : c.headlines())
        if (!h || (h->picture() && h->picture()->url().empty()) || h->category_url() != c.url() ||
            h->category_name() != c.name())
            __builtin_trap();
    return 0;
}
