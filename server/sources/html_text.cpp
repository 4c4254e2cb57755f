#include "html_text.h"

#include "libxml_setup.h"
#include "url_tools.h"

#include <cstring>
#include <libxml/HTMLparser.h>
#include <libxml/tree.h>
#include <memory>

namespace server {

namespace {

constexpr std::size_t max_input = 4 * 1024 * 1024;
constexpr std::size_t max_text = 256 * 1024;
constexpr std::size_t max_paragraphs = 400;

// The length of the well-formed UTF-8 character at p, 0 when there is none.
std::size_t utf8_length(const char* p) {
    const unsigned char c = static_cast<unsigned char>(p[0]);
    const std::size_t n = c < 0x80                 ? 1
                          : c >= 0xC2 && c <= 0xDF ? 2
                          : c >= 0xE0 && c <= 0xEF ? 3
                          : c >= 0xF0 && c <= 0xF4 ? 4
                                                   : 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(p[k]) & 0xC0) != 0x80)
            return 0;
    return n;
}

bool is_one_of(const xmlChar* name, std::initializer_list<const char*> names) {
    for (const char* n : names)
        if (xmlStrcasecmp(name, reinterpret_cast<const xmlChar*>(n)) == 0)
            return true;
    return false;
}

bool dropped(const xmlChar* name) {
    return is_one_of(name, {"script", "style", "form", "noscript", "iframe", "object", "embed", "template",
                            "svg", "math", "button", "input", "select", "textarea", "head", "canvas", "audio",
                            "video", "map"});
}

bool block(const xmlChar* name) {
    return is_one_of(name,
                     {"p",    "div",   "li",         "br",      "h1",         "h2",      "h3",     "h4",
                      "h5",   "h6",    "blockquote", "tr",      "section",    "article", "pre",    "ul",
                      "ol",   "table", "dd",         "dt",      "figcaption", "hr",      "header", "footer",
                      "main", "aside", "figure",     "address", "dl",         "body",    "nav"});
}

std::string attribute(xmlNode* node, const char* name) {
    xmlChar* v = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string out = v ? reinterpret_cast<const char*>(v) : "";
    xmlFree(v);
    return out;
}

// A picture of one or two pixels a side, or one hidden, is there to count readers, not to be seen.
bool tracking_pixel(xmlNode* img) {
    const std::string w = attribute(img, "width"), h = attribute(img, "height");
    const std::string style = attribute(img, "style");
    auto tiny = [](const std::string& v) { return !v.empty() && std::atoi(v.c_str()) <= 2; };
    return tiny(w) || tiny(h) || style.find("display:none") != std::string::npos ||
           style.find("display: none") != std::string::npos;
}

class collector {
public:
    explicit collector(const std::string& base) : base(base) {}

    // Walks the siblings from first and everything below them, iteratively: a deeply nested page must not
    // run the stack out.
    void walk(xmlNode* first) {
        xmlNode* const top = first ? first->parent : nullptr;
        xmlNode* node = first;
        while (node) {
            if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
                add_text(reinterpret_cast<const char*>(node->content));
            } else if (node->type == XML_ELEMENT_NODE && !dropped(node->name)) {
                if (xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar*>("img")) == 0)
                    picture(node);
                if (block(node->name))
                    end_paragraph();
                if (node->children) {
                    node = node->children;
                    continue;
                }
            }
            while (node && !node->next) {
                node = node->parent;
                if (node == top)
                    node = nullptr;
                else if (node->type == XML_ELEMENT_NODE && block(node->name))
                    end_paragraph();
            }
            if (node)
                node = node->next;
        }
        end_paragraph();
    }

    html_text result;

private:
    void add_text(const char* text) {
        if (!text)
            return;
        for (const char* p = text; *p; ++p) {
            const unsigned char c = static_cast<unsigned char>(*p);
            // U+00A0 (no-break space) counts as white space too.
            const bool nbsp = c == 0xC2 && static_cast<unsigned char>(p[1]) == 0xA0;
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || nbsp) {
                pending_space = !current.empty();
                if (nbsp)
                    ++p;
                continue;
            }
            if (c < 0x20)
                continue;
            // A whole character at a time, with the space before it, so the cut at the limit never splits
            // a character nor leaves a space at the end. A byte that starts no whole UTF-8 character
            // (the HTML parser passes some through when it recovers) is dropped.
            const std::size_t n = utf8_length(p);
            if (n == 0)
                continue;
            const std::size_t space = pending_space ? 1 : 0;
            pending_space = false;
            if (total + current.size() + space + n <= max_text) {
                current.append(space, ' ');
                current.append(p, n);
            }
            p += n - 1;
        }
    }
    void end_paragraph() {
        pending_space = false;
        if (current.empty())
            return;
        if (result.paragraphs.size() < max_paragraphs && total < max_text) {
            total += current.size();
            result.paragraphs.push_back(current);
        }
        current.clear();
    }
    void picture(xmlNode* img) {
        if (!result.first_picture.empty() || tracking_pixel(img))
            return;
        const std::string src = attribute(img, "src");
        if (src.empty() || src.rfind("data:", 0) == 0)
            return;
        result.first_picture = resolve_url(base, src);
    }

    std::string base;
    std::string current;
    bool pending_space = false;
    std::size_t total = 0;
};

} // namespace

html_text html_to_paragraphs(const std::string& html, const std::string& base) {
    if (html.empty())
        return html_text();
    prepare_libxml2();
    std::size_t size = std::min(html.size(), max_input);
    for (int k = 0; k < 3 && size < html.size() && (static_cast<unsigned char>(html[size]) & 0xC0) == 0x80;
         ++k)
        --size; // cut before a character, not inside one
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc(
        htmlReadMemory(html.data(), static_cast<int>(size), nullptr, "UTF-8",
                       HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING),
        xmlFreeDoc);
    collector c(base);
    if (doc)
        c.walk(doc->children);
    return c.result;
}

std::string html_to_plain_text(const std::string& html) {
    std::string out;
    for (const std::string& p : html_to_paragraphs(html).paragraphs)
        out += (out.empty() ? "" : " ") + p;
    return out;
}

} // namespace server
