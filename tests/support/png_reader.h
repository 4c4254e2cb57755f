#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An RGB picture read back from a PNG file; empty when it cannot be read.
struct rgb_picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    std::uint32_t at(int x, int y) const {
        const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
        return (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
    }
};

rgb_picture read_png(const std::string& path);
