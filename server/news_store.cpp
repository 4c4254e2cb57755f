#include "news_store.h"

#include <algorithm>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace server {

namespace {

std::vector<std::string> list_dir(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n != "." && n != "..")
                names.push_back(n);
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool is_dir(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ends_with(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string trim(const std::string& s) {
    std::size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

} // namespace

bool parse_article(const std::string& text, article_entry& out, std::string& error) {
    std::istringstream in(text);
    std::string line;
    bool body = false;
    std::string paragraph;
    while (std::getline(in, line)) {
        if (!body) {
            if (trim(line) == "---") {
                body = true;
                continue;
            }
            std::size_t colon = line.find(':');
            if (colon == std::string::npos)
                continue;
            std::string key = trim(line.substr(0, colon)), value = trim(line.substr(colon + 1));
            if (key == "headline")
                out.headline = value;
            else if (key == "location")
                out.location = value;
            else if (key == "published")
                out.published = value;
            else if (key == "scene")
                out.scene = value;
            else if (key == "coords" && std::sscanf(value.c_str(), "%lf , %lf", &out.lat, &out.lon) != 2) {
                error = "bad coords";
                return false;
            }
            continue;
        }
        if (trim(line).empty()) {
            if (!paragraph.empty())
                out.paragraphs.push_back(paragraph);
            paragraph.clear();
        } else {
            paragraph += (paragraph.empty() ? "" : " ") + trim(line);
        }
    }
    if (!paragraph.empty())
        out.paragraphs.push_back(paragraph);
    if (!body || out.headline.empty() || out.paragraphs.empty()) {
        error = "missing headline, separator or paragraphs";
        return false;
    }
    return true;
}

news_store::news_store(const std::string& content_dir) : root(content_dir) {
    scan();
}

std::string news_store::folder_of(const std::string& url) const {
    return root + url;
}

// Names, sizes and times of the folder's article files: any edit changes it.
std::string news_store::signature(const std::string& folder) const {
    std::string sig;
    for (const std::string& name : list_dir(folder)) {
        if (!ends_with(name, ".article"))
            continue;
        struct stat st {};
        if (::stat((folder + "/" + name).c_str(), &st) == 0)
            sig += name + ":" + std::to_string(st.st_size) + ":" + std::to_string(st.st_mtim.tv_sec) + "." +
                   std::to_string(st.st_mtim.tv_nsec) + ";";
    }
    return sig;
}

void news_store::scan() {
    std::vector<std::string> pending{"/news"};
    while (!pending.empty()) {
        std::string url = pending.back();
        pending.pop_back();
        bool has_articles = false;
        for (const std::string& name : list_dir(folder_of(url))) {
            if (is_dir(folder_of(url) + "/" + name))
                pending.push_back(url + "/" + name);
            else if (ends_with(name, ".article"))
                has_articles = true;
        }
        if (has_articles)
            known_urls.push_back(url);
    }
    std::sort(known_urls.begin(), known_urls.end());
}

std::vector<std::string> news_store::urls() {
    std::lock_guard<std::mutex> lock(m);
    return known_urls;
}

bool news_store::category(const std::string& url, category_entry& out) {
    std::lock_guard<std::mutex> lock(m);
    auto known = std::find(known_urls.begin(), known_urls.end(), url);
    if (known == known_urls.end())
        return false;
    const std::string folder = folder_of(url);
    const std::string sig = signature(folder);
    cached& c = categories[url];
    if (c.signature != sig || c.entry.url.empty()) {
        category_entry e;
        e.url = url;
        e.colour_index = static_cast<unsigned>(known - known_urls.begin());
        std::time_t newest = 0;
        for (const std::string& name : list_dir(folder)) {
            if (!ends_with(name, ".article"))
                continue;
            std::ifstream in(folder + "/" + name);
            std::stringstream text;
            text << in.rdbuf();
            article_entry a;
            std::string error;
            if (!parse_article(text.str(), a, error))
                continue;
            std::string stem = name.substr(0, name.size() - 8);
            std::size_t dash = stem.find('-');
            a.id = dash != std::string::npos && dash <= 3 ? stem.substr(dash + 1) : stem;
            e.articles.push_back(a);
            struct stat st {};
            if (::stat((folder + "/" + name).c_str(), &st) == 0)
                newest = std::max(newest, st.st_mtim.tv_sec);
        }
        // A change always moves the stamp on, even within the second of the previous one.
        if (c.stamp_time != 0 && newest <= c.stamp_time)
            newest = static_cast<std::time_t>(c.stamp_time + 1);
        c.stamp_time = newest;
        std::tm t{};
        gmtime_r(&newest, &t);
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%S", &t);
        e.stamp = stamp;
        c.entry = e;
        c.signature = sig;
    }
    out = c.entry;
    return true;
}

} // namespace server
