#pragma once

#include "platform/types.h"

#include <boost/ptr_container/ptr_vector.hpp>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zor {

// The read-only view of config.xml beside the panel library: the content server, the news categories, the
// picture sizes and the article fonts. Loaded once by init and read whole into memory there, so that the loop
// and loading threads can query it at once (the XML parser decodes text lazily, writing into its document on
// first access); every query builds a fresh item list.
class config {
public:
    enum key {
        internet,
        server,
        news,
        headline,
        categories,
        category,
        subcategory,
        article,
        advertise,
        video,
        app,
        fonts,
        font
    };
    enum attribute_key { name, pict_width, pict_height, url, color_attr, size, style, id };

    // One element as read: its attributes and its same-named child elements.
    struct item {
        std::map<std::wstring, std::wstring> attributes;
        boost::ptr_vector<item> children;
    };
    using items = boost::ptr_vector<item>;

    // One element of the file with all its attributes and child elements, in document order.
    struct element {
        std::string name;
        std::map<std::wstring, std::wstring> attributes;
        std::vector<element> children;
    };

    // Loads folder + "config.xml" once; later calls do nothing. Throws std::runtime_error
    // "can not load config.xml" when the file is missing or not well-formed.
    static void init(const std::wstring& folder);
    // Throws "Error! Using config before initializing!" before init.
    static config& instance();
    static bool available();
    // Forgets the loaded file (tests load several).
    static void reset();

    // section is internet or app. Throws "The node not exists in the config.xml" or
    // "The item is empty in the config.xml".
    items get_items(key section, key k) const;

    static std::wstring attribute(const item& i, attribute_key k);
    static std::wstring first_name(const items& list);
    static platform::SIZE picture_size(const items& list);
    // The headline thumbnails' size ("headline" entry); -1 x -1 without a configuration.
    static platform::SIZE headline_picture_size();
    // "?width=W&height=H"; empty when either value is empty.
    static std::wstring picture_query(const items& list);
    // "&width=W&height=H", where non-zero width and height (both) replace the configured ones.
    static std::wstring picture_query_more(const items& list, int width, int height);
    // "URL?width=W"; empty when either is empty.
    static std::wstring url_with_width(const items& list);
    // "r,g,b" as COLORREF, each part cut to its low 8 bits.
    static platform::COLORREF color(const item& i);
    // The first font whose id matches; false leaves the outputs as they were.
    static bool find_font(const items& list, const std::wstring& id, std::wstring& face, int& size,
                          int& style);

    // The content server's host, and the weather host: the optional "weather" element of "internet", else the
    // content server.
    std::wstring server_host() const;
    std::wstring weather_host() const;
    // The address of the news clip on the server ("video" entry); empty when config.xml names none.
    std::wstring video_clip() const;

    const std::wstring& path() const { return file; }
    ~config();

private:
    explicit config(const std::wstring& path);

    std::wstring file;
    element root; // the document: its children are the top-level elements
};

} // namespace zor
