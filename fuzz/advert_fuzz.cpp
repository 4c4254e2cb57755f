// The advert document: any bytes in, a banner list or a clean error out.
#include "model/ads/ads.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ads_impl::advert_impl target;
    try {
        ads_impl::read_advert(target, text.c_str(), L"host");
    } catch (const std::exception&) {
    }
    for (const auto& b : target.banners)
        if (!b || !b->picture())
            __builtin_trap();
    return 0;
}
