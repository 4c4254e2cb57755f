#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets {

struct news_category {
    std::string name;
    std::uint32_t rgb = 0;
};

// The top-level news categories of a config.xml, in file order, with their "r,g,b" colours.
std::vector<news_category> read_categories(const std::string& config_path);

} // namespace assets
