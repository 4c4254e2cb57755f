#include "model/config.h"

#include "platform/text.h"
#include "utils/document_text.h"
#include "utils/errors.h"

#include <cwchar>
#include <tinyxml2.h>

namespace zor {

namespace {

std::unique_ptr<config> the_config;

const char* const element_names[] = {"internet", "server",      "news",    "headline",  "categories",
                                     "category", "subcategory", "article", "advertise", "video",
                                     "app",      "fonts",       "font"};
const wchar_t* const attribute_names[] = {L"name",  L"pict_width", L"pict_height", L"url",
                                          L"color", L"size",       L"style",       L"id"};

[[noreturn]] void fail(const char* message) {
    utils::throw_error(std::runtime_error(message));
}

// The whole document, decoded once at init.
void read_element(const tinyxml2::XMLElement* e, config::element& out) {
    out.name = e->Name();
    for (const tinyxml2::XMLAttribute* a = e->FirstAttribute(); a; a = a->Next())
        out.attributes[utils::widen_document_text(a->Name())] = utils::widen_document_text(a->Value());
    for (const tinyxml2::XMLElement* c = e->FirstChildElement(); c; c = c->NextSiblingElement()) {
        out.children.emplace_back();
        read_element(c, out.children.back());
    }
}

// The first child element of that name; null for none (or no parent).
const config::element* child(const config::element* parent, const char* name) {
    if (!parent)
        return nullptr;
    for (const config::element& c : parent->children)
        if (c.name == name)
            return &c;
    return nullptr;
}

// The elements of that name among the siblings, each with its own children of the first child's name.
void read_items(const std::vector<config::element>& siblings, const std::string& name, config::items& out) {
    for (const config::element& e : siblings) {
        if (e.name != name)
            continue;
        auto* i = new config::item;
        out.push_back(i);
        i->attributes = e.attributes;
        if (!e.children.empty())
            read_items(e.children, e.children.front().name, i->children);
    }
}

long decimal(const std::wstring& text) {
    return std::wcstol(text.c_str(), nullptr, 10);
}

const config::item* first_of(const config::items& list) {
    return list.empty() ? nullptr : &list.front();
}

} // namespace

config::config(const std::wstring& path) : file(path) {}
config::~config() = default;

void config::init(const std::wstring& folder) {
    if (the_config)
        return;
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'/')
        path += L'/';
    path += L"config.xml";
    std::unique_ptr<config> c(new config(path));
    tinyxml2::XMLDocument document;
    if (document.LoadFile(platform::to_utf8(path).c_str()) != tinyxml2::XML_SUCCESS)
        fail("can not load config.xml");
    for (const tinyxml2::XMLElement* e = document.FirstChildElement(); e; e = e->NextSiblingElement()) {
        c->root.children.emplace_back();
        read_element(e, c->root.children.back());
    }
    the_config = std::move(c);
}

config& config::instance() {
    if (!the_config)
        fail("Error! Using config before initializing!");
    return *the_config;
}

void config::reset() {
    the_config.reset();
}

bool config::available() {
    return the_config != nullptr;
}

config::items config::get_items(key section, key k) const {
    const element* parent = nullptr;
    const char* name = element_names[k];
    if (section == app && k == font) {
        parent = child(child(&root, "app"), "fonts");
    } else if (section == internet) {
        const element* internet_element = child(&root, "internet");
        switch (k) {
        case server:
            parent = internet_element;
            break;
        case headline:
        case article:
        case advertise:
        case video:
            parent = child(internet_element, "news");
            break;
        case categories:
            parent = child(child(internet_element, "news"), "categories");
            name = "category";
            break;
        default:
            break;
        }
    }
    if (!child(parent, name))
        fail("The node not exists in the config.xml");
    items list;
    read_items(parent->children, name, list);
    if (list.empty())
        fail("The item is empty in the config.xml");
    return list;
}

std::wstring config::attribute(const item& i, attribute_key k) {
    auto it = i.attributes.find(attribute_names[k]);
    return it == i.attributes.end() ? std::wstring() : it->second;
}

std::wstring config::first_name(const items& list) {
    const item* i = first_of(list);
    return i ? attribute(*i, name) : std::wstring();
}

platform::SIZE config::picture_size(const items& list) {
    platform::SIZE s;
    if (const item* i = first_of(list)) {
        s.cx = static_cast<std::int32_t>(decimal(attribute(*i, pict_width)));
        s.cy = static_cast<std::int32_t>(decimal(attribute(*i, pict_height)));
    }
    return s;
}

platform::SIZE config::headline_picture_size() {
    try {
        return picture_size(instance().get_items(internet, headline));
    } catch (const std::exception&) {
        platform::SIZE none;
        none.cx = none.cy = -1;
        return none;
    }
}

std::wstring config::picture_query(const items& list) {
    const item* i = first_of(list);
    if (!i)
        return std::wstring();
    std::wstring w = attribute(*i, pict_width), h = attribute(*i, pict_height);
    if (w.empty() || h.empty())
        return std::wstring();
    return L"?width=" + w + L"&height=" + h;
}

std::wstring config::picture_query_more(const items& list, int width, int height) {
    const item* i = first_of(list);
    if (!i)
        return std::wstring();
    std::wstring w = attribute(*i, pict_width), h = attribute(*i, pict_height);
    if (width != 0 && height != 0) {
        w = std::to_wstring(width);
        h = std::to_wstring(height);
    }
    if (w.empty() || h.empty())
        return std::wstring();
    return L"&width=" + w + L"&height=" + h;
}

std::wstring config::url_with_width(const items& list) {
    const item* i = first_of(list);
    if (!i)
        return std::wstring();
    std::wstring u = attribute(*i, url), w = attribute(*i, pict_width);
    if (u.empty() || w.empty())
        return std::wstring();
    return u + L"?width=" + w;
}

platform::COLORREF config::color(const item& i) {
    std::wstring text = attribute(i, color_attr);
    std::size_t first = text.find(L','), last = text.rfind(L',');
    std::wstring r = text.substr(0, first);
    std::wstring g = first == std::wstring::npos ? std::wstring() : text.substr(first + 1, last - first - 1);
    std::wstring b = last == std::wstring::npos ? std::wstring() : text.substr(last + 1);
    auto part = [](const std::wstring& t) { return static_cast<platform::COLORREF>(decimal(t) & 0xFF); };
    return part(r) + part(g) * 256 + part(b) * 65536;
}

bool config::find_font(const items& list, const std::wstring& font_id, std::wstring& face, int& font_size,
                       int& font_style) {
    for (const item& i : list) {
        if (attribute(i, id) != font_id)
            continue;
        face = attribute(i, name);
        font_size = static_cast<int>(decimal(attribute(i, size)));
        std::wstring s = attribute(i, style);
        if (s == L"regular")
            font_style = 0;
        else if (s == L"bold")
            font_style = 1;
        else if (s == L"italic")
            font_style = 2;
        else if (s == L"underline")
            font_style = 4;
        else if (s == L"strikeout")
            font_style = 8;
        return true;
    }
    return false;
}

std::wstring config::server_host() const {
    return first_name(get_items(internet, server));
}

std::wstring config::video_clip() const {
    const items list = get_items(internet, video);
    const item* i = first_of(list);
    const std::wstring path = i ? attribute(*i, url) : std::wstring();
    const std::wstring host = server_host();
    if (path.empty() || path[0] != L'/' || host.empty())
        return std::wstring();
    return L"http://" + host + path;
}

std::wstring config::weather_host() const {
    if (const element* weather = child(child(&root, "internet"), "weather")) {
        auto it = weather->attributes.find(L"name");
        if (it != weather->attributes.end() && !it->second.empty())
            return it->second;
    }
    return server_host();
}

} // namespace zor
