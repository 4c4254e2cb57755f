#pragma once

#include <string>
#include <vector>

namespace server {

// What an article's HTML holds for the panel: plain paragraphs and the first real picture.
struct html_text {
    std::vector<std::string> paragraphs;
    std::string first_picture; // absolute address, empty when none
};

// Reads HTML with libxml2's forgiving HTML parser (no network): scripts, styles, forms and tracking pixels
// go; entities are decoded and white space collapsed; block elements, list items and line breaks end
// paragraphs. base resolves a relative picture address. Bounded: very long texts are cut.
html_text html_to_paragraphs(const std::string& html, const std::string& base = std::string());
// The paragraphs joined by spaces (a title written in HTML).
std::string html_to_plain_text(const std::string& html);

} // namespace server
