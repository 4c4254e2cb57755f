#pragma once

#include <cairo.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace assets {

using painter = std::function<void(cairo_t* cr, int width, int height)>;

// One picture file: where it goes under images/, its size and how it is drawn.
struct picture_spec {
    std::string file; // relative to images/, '/' separated
    int width = 0;
    int height = 0;
    painter paint;
};

// One key of the panel's resource table with its portrait and landscape files (the same file when the key
// does not depend on the orientation; no file when the key lacks that orientation).
struct catalogue_entry {
    std::string key;
    const picture_spec* portrait = nullptr;
    const picture_spec* landscape = nullptr;
};

// Every picture the panel's resource table names, in the table's order.
class catalogue {
public:
    catalogue() = default;
    catalogue(const catalogue&) = delete;
    catalogue& operator=(const catalogue&) = delete;

    void add(const std::string& key, const std::string& file, int width, int height, painter paint);
    void add_oriented(const std::string& key, const std::string& portrait_file, int pw, int ph,
                      painter portrait, const std::string& landscape_file, int lw, int lh, painter landscape);
    void add_landscape_only(const std::string& key, const std::string& file, int width, int height,
                            painter paint);

    const std::vector<catalogue_entry>& entries() const { return keys; }
    // Each file once.
    std::vector<const picture_spec*> files() const;

private:
    const picture_spec* keep(const std::string& file, int width, int height, painter paint);
    std::vector<std::unique_ptr<picture_spec>> pictures;
    std::vector<catalogue_entry> keys;
};

} // namespace assets
