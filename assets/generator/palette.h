#pragma once

#include <cstdint>

// The colours of the panel's look. Values are 0xRRGGBB.
namespace assets {
namespace palette {

constexpr std::uint32_t page_grey = 0xDADADA; // behind cards, tab frames, article margins
constexpr std::uint32_t list_grey = 0xDDDDDD; // behind list rows
constexpr std::uint32_t card = 0xFFFFFF;      // rows, tabs, article text
constexpr std::uint32_t news_red = 0xDB3C3B;  // brand; also the fill of a focused row
constexpr std::uint32_t deep_red = 0xA82726;  // shade of the brand
constexpr std::uint32_t ink = 0x333333;       // dark pictogram strokes
constexpr std::uint32_t soft_ink = 0x8A8A8A;  // quiet marks on white
constexpr std::uint32_t hairline = 0xC4C4C4;  // 1-pixel card edges and dividers
constexpr std::uint32_t footer_black = 0x242424;
constexpr std::uint32_t thumb_red = 0xFF004C; // scroll bar thumb
constexpr std::uint32_t weather_cyan = 0x28C3DC;
constexpr std::uint32_t tipline_orange = 0xFF8000;
constexpr std::uint32_t sun_yellow = 0xFFC21A;
constexpr std::uint32_t sun_orange = 0xF59A12;
constexpr std::uint32_t moon_cream = 0xF4E7A1;
constexpr std::uint32_t cloud_white = 0xFFFFFF;
constexpr std::uint32_t cloud_edge = 0x7F8A96;
constexpr std::uint32_t storm_grey = 0x6E7885;
constexpr std::uint32_t rain_blue = 0x2D7FE0;
constexpr std::uint32_t ice_blue = 0x9BD3F5;
constexpr std::uint32_t night_navy = 0x0E2240;
constexpr std::uint32_t space_navy = 0x0A1730;

} // namespace palette
} // namespace assets
