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

const tinyxml2::XMLElement* child(const tinyxml2::XMLNode* parent, const char* name) {
    return parent ? parent->FirstChildElement(name) : nullptr;
}

// The element and its following same-named siblings, each with its own same-named children.
void read_items(const tinyxml2::XMLElement* first, config::items& out) {
    for (const tinyxml2::XMLElement* e = first; e; e = e->NextSiblingElement(first->Name())) {
        auto* i = new config::item;
        out.push_back(i);
        for (const tinyxml2::XMLAttribute* a = e->FirstAttribute(); a; a = a->Next())
            i->attributes[utils::widen_document_text(a->Name())] = utils::widen_document_text(a->Value());
        if (const tinyxml2::XMLElement* c = e->FirstChildElement())
            read_items(c, i->children);
    }
}

long decimal(const std::wstring& text) {
    return std::wcstol(text.c_str(), nullptr, 10);
}

const config::item* first_of(const config::items& list) {
    return list.empty() ? nullptr : &list.front();
}

} // namespace

config::config(const std::wstring& path) : file(path), document(new tinyxml2::XMLDocument) {}
config::~config() = default;

void config::init(const std::wstring& folder) {
    if (the_config)
        return;
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'/')
        path += L'/';
    path += L"config.xml";
    std::unique_ptr<config> c(new config(path));
    if (c->document->LoadFile(platform::to_utf8(path).c_str()) != tinyxml2::XML_SUCCESS)
        fail("can not load config.xml");
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
    const tinyxml2::XMLElement* start = nullptr;
    if (section == app && k == font) {
        start = child(child(child(document.get(), "app"), "fonts"), "font");
    } else if (section == internet) {
        const tinyxml2::XMLElement* root = child(document.get(), "internet");
        switch (k) {
        case server:
            start = child(root, "server");
            break;
        case headline:
        case article:
        case advertise:
        case video:
            start = child(child(root, "news"), element_names[k]);
            break;
        case categories:
            start = child(child(child(root, "news"), "categories"), "category");
            break;
        default:
            break;
        }
    }
    if (!start)
        fail("The node not exists in the config.xml");
    items list;
    read_items(start, list);
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
    const tinyxml2::XMLElement* weather = child(child(document.get(), "internet"), "weather");
    if (weather && weather->Attribute("name") && *weather->Attribute("name"))
        return utils::widen_document_text(weather->Attribute("name"));
    return server_host();
}

} // namespace zor
