#include "ui/alpha_blend.h"

#include <algorithm>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace ui_impl {

namespace {

// Channels spread 16 bits apart in one 64-bit word, so one multiply blends all three. Per channel
// d + ((s - d)(a + 1) + 128) >> 8 equals (d(255 - a) + s(a + 1) + 128) >> 8, with no negative terms.
inline std::uint64_t spread(std::uint16_t p) {
    return (static_cast<std::uint64_t>(p >> 11) << 32) | (static_cast<std::uint64_t>((p >> 5) & 0x3F) << 16) |
           (p & 0x1F);
}

constexpr std::uint64_t rounding = (128ull << 32) | (128ull << 16) | 128ull;

inline std::uint16_t mix(std::uint16_t d, std::uint16_t s, unsigned a) {
    std::uint64_t v = (spread(d) * (255 - a) + spread(s) * (a + 1) + rounding) >> 8;
    return static_cast<std::uint16_t>((((v >> 32) & 0x1F) << 11) | (((v >> 16) & 0x3F) << 5) | (v & 0x1F));
}

struct alpha_table {
    unsigned char value[256];
};

const alpha_table& identity_table() {
    static const alpha_table t = [] {
        alpha_table r;
        for (int i = 0; i < 256; ++i)
            r.value[i] = static_cast<unsigned char>(i);
        return r;
    }();
    return t;
}

#ifdef __SSE2__
// Eight pixels at once, the same arithmetic in 16-bit lanes: every term stays below 2^15.
inline void mix8(std::uint16_t* dst, const std::uint16_t* src, const unsigned char* a8) {
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const __m128i a =
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(a8)), _mm_setzero_si128());
    const __m128i sa = _mm_add_epi16(a, _mm_set1_epi16(1));
    const __m128i da = _mm_sub_epi16(_mm_set1_epi16(255), a);
    const __m128i round = _mm_set1_epi16(128);
    const __m128i m5 = _mm_set1_epi16(0x1F), m6 = _mm_set1_epi16(0x3F);
    auto channel = [&](__m128i dc, __m128i sc) {
        __m128i v = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(dc, da), _mm_mullo_epi16(sc, sa)), round);
        return _mm_srli_epi16(v, 8);
    };
    const __m128i r = channel(_mm_srli_epi16(d, 11), _mm_srli_epi16(s, 11));
    const __m128i g =
        channel(_mm_and_si128(_mm_srli_epi16(d, 5), m6), _mm_and_si128(_mm_srli_epi16(s, 5), m6));
    const __m128i b = channel(_mm_and_si128(d, m5), _mm_and_si128(s, m5));
    __m128i out = _mm_or_si128(_mm_or_si128(_mm_slli_epi16(r, 11), _mm_slli_epi16(g, 5)), b);
    // A transparent pixel keeps the destination exactly (the formula would round it).
    const __m128i keep = _mm_cmpeq_epi16(a, _mm_setzero_si128());
    out = _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, out));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), out);
}
#endif

} // namespace

std::uint16_t blend_pixel(std::uint16_t d, std::uint16_t s, unsigned a) {
    if (a == 0)
        return d;
    if (a == 255)
        return s;
    return mix(d, s, a);
}

void alpha_blend(const blend_target& target, const std::uint16_t* pixels, const std::uint8_t* alpha,
                 const platform::RECT& place, const platform::RECT* clip, unsigned char global_alpha) {
    if (global_alpha == 0)
        return;
    alpha_table scaled;
    const alpha_table* table = &identity_table();
    if (global_alpha != 255) {
        for (unsigned i = 0; i < 256; ++i)
            scaled.value[i] = static_cast<unsigned char>((i * (global_alpha + 1u)) >> 8);
        table = &scaled;
    }
    const int image_width = place.right - place.left;
    int y0 = std::max(place.top, 0), y1 = std::min(place.bottom, target.height);
    int x0 = std::max(place.left, 0), x1 = std::min(place.right, target.width);
    if (clip) {
        y0 = std::max(y0, clip->top);
        y1 = std::min(y1, clip->bottom);
        x0 = std::max(x0, clip->left);
        x1 = std::min(x1, clip->right);
    }
    if (x0 >= x1 || y0 >= y1 || image_width <= 0)
        return;

    for (int y = y0; y < y1; ++y) {
        const std::size_t row = static_cast<std::size_t>(y - place.top) * image_width;
        const std::uint16_t* src = pixels + row + (x0 - place.left);
        const std::uint8_t* src_alpha = alpha + row + (x0 - place.left);
        std::uint16_t* dst = target.pixels + static_cast<std::ptrdiff_t>(y) * target.stride + x0;
        const int n = x1 - x0;
        int x = 0;
#ifdef __SSE2__
        for (; x + 8 <= n; x += 8) {
            unsigned char mapped[8];
            const unsigned char* a8 = src_alpha + x;
            if (table != &identity_table()) {
                for (int k = 0; k < 8; ++k)
                    mapped[k] = table->value[src_alpha[x + k]];
                a8 = mapped;
            }
            std::uint64_t all;
            std::memcpy(&all, a8, 8);
            if (all == 0)
                continue;
            if (all == ~std::uint64_t(0))
                std::memcpy(dst + x, src + x, 16);
            else
                mix8(dst + x, src + x, a8);
        }
#endif
        for (; x < n; ++x) {
            const unsigned a = table->value[src_alpha[x]];
            if (a == 255)
                dst[x] = src[x];
            else if (a != 0)
                dst[x] = mix(dst[x], src[x], a);
        }
    }
}

} // namespace ui_impl
