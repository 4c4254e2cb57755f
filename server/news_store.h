#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace server {

struct article_entry {
    std::string id; // the file's name without its number and extension
    std::string headline;
    std::string location;
    double lat = 0;
    double lon = 0;
    std::string published;
    std::string scene;
    std::vector<std::string> paragraphs;
};

struct category_entry {
    std::string url;                     // "/news/world"
    std::string stamp;                   // "YYYYMMDDTHHMMSS" of the newest file
    std::vector<article_entry> articles; // in file order
    unsigned colour_index = 0;           // for the picture's colour strip
};

// The demo news of a content folder: every folder below news/ that holds .article files is a category whose
// url is its path. A folder is read again when its files change.
class news_store {
public:
    explicit news_store(const std::string& content_dir);

    // False for an unknown url.
    bool category(const std::string& url, category_entry& out);
    std::vector<std::string> urls();

private:
    struct cached {
        category_entry entry;
        std::string signature;
        long long stamp_time = 0;
    };
    std::string folder_of(const std::string& url) const;
    std::string signature(const std::string& folder) const;
    void scan();

    std::string root;
    std::mutex m;
    std::map<std::string, cached> categories;
    std::vector<std::string> known_urls;
};

// Parses one .article file; false with a reason when it is malformed.
bool parse_article(const std::string& text, article_entry& out, std::string& error);

} // namespace server
