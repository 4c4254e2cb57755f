#pragma once

#include <string>
#include <vector>

namespace server {

struct article_entry {
    std::string id; // the demo file's name without its number and extension, or a feed item's stable id
    std::string headline;
    std::string location;
    double lat = 0;
    double lon = 0;
    std::string published; // "YYYY-MM-DD HH:MM", UTC
    std::string scene;
    std::vector<std::string> paragraphs;
    std::string picture_url; // a real picture's address; the picture is drawn when empty
};

struct category_entry {
    std::string url;                     // "/news/world"
    std::string stamp;                   // "YYYYMMDDTHHMMSS" of the newest file or item
    std::vector<article_entry> articles; // in file order
    unsigned colour_index = 0;           // for the picture's colour strip
};

// Where the categories' headlines and articles come from: the demo folder or real feeds.
class news_source {
public:
    virtual ~news_source() = default;
    // False for an unknown url.
    virtual bool category(const std::string& url, category_entry& out) = 0;
    virtual std::vector<std::string> urls() = 0;
};

} // namespace server
