#pragma once

#include "news_source.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace server {

// The demo news of a content folder: every folder below news/ that holds .article files is a category whose
// url is its path. A folder is read again when its files change.
class news_store : public news_source {
public:
    explicit news_store(const std::string& content_dir);

    bool category(const std::string& url, category_entry& out) override;
    std::vector<std::string> urls() override;

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
