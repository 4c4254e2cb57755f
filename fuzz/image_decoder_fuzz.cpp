// Any bytes in: a picture or a refusal out, never a crash, a hang or a huge allocation.
#include "platform/image_decoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::decode_result own = platform::decode_image_buffer(data, size);
    if (own.ok() &&
        (own.image.pixels.size() != static_cast<std::size_t>(own.image.width) * own.image.height ||
         own.image.alpha.size() != own.image.pixels.size()))
        __builtin_trap();
    // The scaled path as the panel uses it for thumbnails; the size comes from the first byte.
    if (size > 0) {
        int side = 1 + data[0] % 64;
        platform::decode_result scaled = platform::decode_image_buffer(data, size, side, side);
        if (scaled.ok() && (scaled.image.width != side || scaled.image.height != side))
            __builtin_trap();
    }
    return 0;
}
