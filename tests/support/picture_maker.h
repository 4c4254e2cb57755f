#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Encodes test pictures in memory. Pixels are straight RGBA, row by row.
std::vector<std::uint8_t> encode_png(int width, int height, const std::vector<std::uint8_t>& rgba);
// 'rgb' holds three bytes a pixel, or one for a grey picture (components 1).
std::vector<std::uint8_t> encode_jpeg(int width, int height, const std::vector<std::uint8_t>& rgb,
                                      int quality = 95, int components = 3);
// A width x height picture of one colour.
std::vector<std::uint8_t> solid_rgba(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                                     std::uint8_t a);
bool write_file(const std::string& path, const std::vector<std::uint8_t>& bytes);
