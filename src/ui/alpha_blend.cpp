#include "ui/alpha_blend.h"

#include <algorithm>
#include <cstring>

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
        while (x < n) {
            unsigned a = table->value[src_alpha[x]];
            if (a == 255) {
                // Copy the whole opaque run at once.
                int run = x + 1;
                while (run < n && table->value[src_alpha[run]] == 255)
                    ++run;
                std::memcpy(dst + x, src + x, static_cast<std::size_t>(run - x) * 2);
                x = run;
            } else if (a == 0) {
                ++x;
            } else {
                dst[x] = mix(dst[x], src[x], a);
                ++x;
            }
        }
    }
}

} // namespace ui_impl
