// The two news documents and the time stamp: any bytes in, a filled object or a clean error out.
#include "model/news/category.h"
#include "model/news/headline.h"
#include "model/news/loaders.h"
#include "model/news/timestamp.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 3) {
    case 0: {
        news::category c(L"World", L"/news/world", 0);
        try {
            news::headlines_loader::apply(c, text.c_str(), L"host");
        } catch (const std::exception&) {
        }
        for (const auto& h : c.headlines())
            if (!h || !h->picture())
                __builtin_trap();
        break;
    }
    case 1: {
        news::article a(L"/news/world?itemid=1");
        try {
            news::apply_article(a, text.c_str(), L"host");
        } catch (const std::exception&) {
        }
        if ((a.thumbnail() == nullptr) != (a.full_sized_picture() == nullptr))
            __builtin_trap();
        break;
    }
    default: {
        std::int64_t stamp = news::parse_timestamp(text);
        if (stamp < -1 - 24 * 3600 && stamp != -1)
            __builtin_trap();
        break;
    }
    }
    return 0;
}
