#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Decodes PNG and JPEG pictures, from a file or from memory, at their own size or scaled, into RGB565
// pixels with an 8-bit alpha plane (rows packed, no padding). The header is read first: a picture wider or
// higher than max_image_side is refused before anything large is allocated; truncated or corrupt data and
// decoder warnings are refused too.
namespace platform {

constexpr int max_image_side = 4096;
// Files are read whole; nothing this size is a picture the panel shows.
constexpr std::size_t max_image_file_bytes = 64u << 20;

struct decoded_image {
    int width = 0;
    int height = 0;
    std::vector<std::uint16_t> pixels;
    std::vector<std::uint8_t> alpha;
};

enum class decode_status {
    ok,
    unreadable,     // the file cannot be opened or read
    unknown_format, // neither PNG nor JPEG
    too_large,      // a side of the picture or of the requested size exceeds max_image_side
    corrupt,        // truncated data, a decoder error or warning
};

struct decode_result {
    decode_status status = decode_status::corrupt;
    std::string detail;
    decoded_image image;
    bool ok() const { return status == decode_status::ok; }
};

// width = height = 0 asks for the picture's own size; a single 0 keeps that side's own size.
decode_result decode_image_file(const std::string& path, int width = 0, int height = 0);
decode_result decode_image_buffer(const void* data, std::size_t size, int width = 0, int height = 0);

} // namespace platform
