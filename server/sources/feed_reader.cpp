#include "feed_reader.h"

#include "feed_dates.h"
#include "html_text.h"
#include "libxml_setup.h"
#include "url_tools.h"

#include <cstring>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <memory>

namespace server {

namespace {

constexpr std::size_t max_feed_bytes = 16 * 1024 * 1024;

const char* const ns_atom = "http://www.w3.org/2005/Atom";
const char* const ns_rss1 = "http://purl.org/rss/1.0/";
const char* const ns_rdf = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
const char* const ns_dc = "http://purl.org/dc/elements/1.1/";
const char* const ns_content = "http://purl.org/rss/1.0/modules/content/";
const char* const ns_media = "http://search.yahoo.com/mrss/";

using doc_ptr = std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)>;

bool named(const xmlNode* n, const char* local, const char* ns) {
    if (!n || n->type != XML_ELEMENT_NODE || std::strcmp(reinterpret_cast<const char*>(n->name), local) != 0)
        return false;
    const char* uri = n->ns && n->ns->href ? reinterpret_cast<const char*>(n->ns->href) : nullptr;
    return ns ? uri && std::strcmp(uri, ns) == 0 : uri == nullptr;
}

xmlNode* child(xmlNode* parent, const char* local, const char* ns) {
    for (xmlNode* n = parent ? parent->children : nullptr; n; n = n->next)
        if (named(n, local, ns))
            return n;
    return nullptr;
}

// Text and CDATA below the node; entity references are left out, never expanded.
std::string text(const xmlNode* node) {
    std::string out;
    if (!node)
        return out;
    const xmlNode* n = node->children;
    while (n) {
        if ((n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE) && n->content)
            out += reinterpret_cast<const char*>(n->content);
        if (n->type == XML_ELEMENT_NODE && n->children) {
            n = n->children;
            continue;
        }
        while (n && !n->next) {
            n = n->parent;
            if (n == node)
                n = nullptr;
        }
        if (n)
            n = n->next;
    }
    return out;
}

std::string trimmed(const std::string& s) {
    const std::size_t a = s.find_first_not_of(" \t\r\n"), b = s.find_last_not_of(" \t\r\n");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::string attribute(xmlNode* node, const char* name) {
    xmlChar* v = node ? xmlGetProp(node, reinterpret_cast<const xmlChar*>(name)) : nullptr;
    std::string out = v ? reinterpret_cast<const char*>(v) : "";
    xmlFree(v);
    return trimmed(out);
}

// The base of relative addresses at the node: xml:base where given, else the feed's own address.
std::string base_of(xmlDoc* doc, xmlNode* node, const std::string& address) {
    xmlChar* b = xmlNodeGetBase(doc, node);
    std::string out = b ? reinterpret_cast<const char*>(b) : address;
    xmlFree(b);
    return resolve_url(address, out);
}

// The children of an Atom xhtml element, written back out as HTML text.
std::string inner_markup(xmlDoc* doc, xmlNode* node) {
    std::unique_ptr<xmlBuffer, void (*)(xmlBufferPtr)> buffer(xmlBufferCreate(), xmlBufferFree);
    for (xmlNode* n = node->children; n; n = n->next)
        xmlNodeDump(buffer.get(), doc, n, 0, 0);
    return reinterpret_cast<const char*>(xmlBufferContent(buffer.get()));
}

bool looks_like_picture(const std::string& type, const std::string& medium, const std::string& url) {
    if (!type.empty())
        return type.rfind("image/", 0) == 0;
    if (!medium.empty())
        return medium == "image";
    std::string lower = url.substr(0, url.find('?'));
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* ext : {".jpg", ".jpeg", ".png", ".webp"})
        if (lower.size() > std::strlen(ext) &&
            lower.compare(lower.size() - std::strlen(ext), std::string::npos, ext) == 0)
            return true;
    return false;
}

// Media RSS content or thumbnail (also inside media:group), then an enclosure or Atom enclosure link.
std::string declared_picture(xmlNode* item) {
    std::vector<xmlNode*> media;
    for (xmlNode* n = item->children; n; n = n->next) {
        media.push_back(n);
        if (named(n, "group", ns_media))
            for (xmlNode* m = n->children; m; m = m->next)
                media.push_back(m);
    }
    std::string thumbnail;
    for (xmlNode* m : media) {
        const std::string url = attribute(m, "url");
        if (url.empty())
            continue;
        if (named(m, "content", ns_media) &&
            looks_like_picture(attribute(m, "type"), attribute(m, "medium"), url))
            return url;
        if (named(m, "thumbnail", ns_media) && thumbnail.empty())
            thumbnail = url;
    }
    if (!thumbnail.empty())
        return thumbnail;
    for (xmlNode* n = item->children; n; n = n->next) {
        if (named(n, "enclosure", nullptr) && attribute(n, "type").rfind("image/", 0) == 0)
            return attribute(n, "url");
        if (named(n, "link", ns_atom) && attribute(n, "rel") == "enclosure" &&
            attribute(n, "type").rfind("image/", 0) == 0)
            return attribute(n, "href");
    }
    return std::string();
}

// Atom's plain text content as HTML: escaped, blank lines ending paragraphs.
std::string plain_as_html(const std::string& plain) {
    std::string out;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const char c = plain[i];
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '\n' && i + 1 < plain.size() && plain[i + 1] == '\n')
            out += "<p>", ++i;
        else
            out += c;
    }
    return out;
}

bool date_of(xmlNode* item, std::initializer_list<std::pair<const char*, const char*>> names,
             std::int64_t& seconds) {
    for (const auto& name : names)
        if (xmlNode* n = child(item, name.first, name.second))
            if (parse_feed_date(trimmed(text(n)), seconds))
                return true;
    return false;
}

// The id comes from what the feed says identifies the item, so it survives edits of the title.
void finish(feed_item& item, const std::string& identity, const std::string& base) {
    item.base = base;
    if (!item.link.empty())
        item.link = resolve_url(base, item.link);
    if (!item.picture.empty())
        item.picture = resolve_url(base, item.picture);
    item.id = stable_id(!identity.empty() ? identity : !item.link.empty() ? item.link : item.title);
}

std::string title_of(xmlNode* n, bool html) {
    const std::string t = trimmed(text(n));
    if (html)
        return html_to_plain_text(t);
    // A plain title often carries escaped entities ("&amp;#8217;"): those are decoded, its angle brackets
    // kept.
    if (t.find('&') == std::string::npos)
        return t;
    std::string kept;
    for (char c : t)
        kept += c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    return html_to_plain_text(kept);
}

feed_item rss_item(xmlDoc* doc, xmlNode* n, const std::string& address, const char* ns) {
    feed_item item;
    item.title = title_of(child(n, "title", ns), false);
    item.link = trimmed(text(child(n, "link", ns)));
    std::string identity = trimmed(text(child(n, "guid", ns)));
    if (identity.empty() && ns)
        identity = attribute(n, "about"); // rdf:about of RSS 1.0
    item.has_date = date_of(n, {{"pubDate", ns}, {"date", ns_dc}}, item.published);
    const std::string encoded = text(child(n, "encoded", ns_content));
    item.html = !trimmed(encoded).empty() ? encoded : text(child(n, "description", ns));
    item.picture = declared_picture(n);
    finish(item, identity, base_of(doc, n, address));
    return item;
}

feed_item atom_entry(xmlDoc* doc, xmlNode* n, const std::string& address) {
    feed_item item;
    xmlNode* title = child(n, "title", ns_atom);
    item.title = title_of(title, attribute(title, "type") == "html" || attribute(title, "type") == "xhtml");
    for (xmlNode* l = n->children; l; l = l->next)
        if (named(l, "link", ns_atom) &&
            (attribute(l, "rel").empty() || attribute(l, "rel") == "alternate") && item.link.empty())
            item.link = attribute(l, "href");
    item.has_date =
        date_of(n, {{"published", ns_atom}, {"updated", ns_atom}, {"date", ns_dc}}, item.published);
    xmlNode* body = child(n, "content", ns_atom);
    if (!body || trimmed(text(body)).empty())
        body = child(n, "summary", ns_atom);
    if (body) {
        const std::string type = attribute(body, "type");
        if (type == "xhtml")
            item.html = inner_markup(doc, body);
        else if (type == "html")
            item.html = text(body);
        else
            item.html = plain_as_html(text(body));
    }
    item.picture = declared_picture(n);
    finish(item, trimmed(text(child(n, "id", ns_atom))), base_of(doc, n, address));
    return item;
}

bool valid_utf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t extra;
        if (c < 0x80)
            extra = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            extra = 1;
        else if ((c & 0xF0) == 0xE0)
            extra = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            extra = 3;
        else
            return false;
        if (i + extra >= s.size() && extra > 0)
            return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += extra + 1;
    }
    return true;
}

doc_ptr parse(const std::string& bytes, const std::string& address, const char* encoding,
              std::string& error) {
    // No XML_PARSE_NOENT (entities stay references), no XML_PARSE_DTDLOAD (nothing external is read),
    // no XML_PARSE_HUGE (libxml2 keeps its limits on entity amplification and depth).
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOBLANKS;
    std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> context(xmlNewParserCtxt(), xmlFreeParserCtxt);
    if (!context) {
        error = "out of memory";
        return doc_ptr(nullptr, xmlFreeDoc);
    }
    doc_ptr doc(xmlCtxtReadMemory(context.get(), bytes.data(), static_cast<int>(bytes.size()),
                                  address.c_str(), encoding, options),
                xmlFreeDoc);
    if (!doc || !context->wellFormed) {
        const char* why = context->lastError.message;
        error = why ? trimmed(why) : "not well-formed";
        return doc_ptr(nullptr, xmlFreeDoc);
    }
    return doc;
}

} // namespace

bool read_feed(const std::string& bytes, const std::string& address, feed& out, std::string& error,
               std::size_t max_items) {
    prepare_libxml2();
    if (bytes.size() > max_feed_bytes) {
        error = "feed larger than " + std::to_string(max_feed_bytes) + " bytes";
        return false;
    }
    doc_ptr doc = parse(bytes, address, nullptr, error);
    // A feed that is not the encoding it declares is, in practice, Windows-1252.
    if (!doc && !valid_utf8(bytes)) {
        std::string second;
        doc = parse(bytes, address, "WINDOWS-1252", second);
    }
    if (!doc) {
        error = "not a readable XML document: " + error;
        return false;
    }
    xmlNode* root = xmlDocGetRootElement(doc.get());
    feed f;
    std::vector<xmlNode*> nodes;
    xmlNode* channel = nullptr;
    const char* item_ns = nullptr;
    if (named(root, "rss", nullptr)) {
        f.format = "rss2";
        channel = child(root, "channel", nullptr);
        for (xmlNode* n = channel ? channel->children : nullptr; n; n = n->next)
            if (named(n, "item", nullptr))
                nodes.push_back(n);
    } else if (named(root, "RDF", ns_rdf)) {
        f.format = "rss1";
        item_ns = ns_rss1;
        channel = child(root, "channel", ns_rss1);
        for (xmlNode* n = root->children; n; n = n->next)
            if (named(n, "item", ns_rss1))
                nodes.push_back(n);
    } else if (named(root, "feed", ns_atom)) {
        f.format = "atom";
        channel = root;
        for (xmlNode* n = root->children; n; n = n->next)
            if (named(n, "entry", ns_atom))
                nodes.push_back(n);
    } else {
        error = "neither RSS nor Atom";
        return false;
    }
    f.title = title_of(child(channel, "title", f.format == "atom" ? ns_atom : item_ns), false);
    for (xmlNode* n : nodes) {
        if (f.items.size() >= max_items)
            break;
        feed_item item =
            f.format == "atom" ? atom_entry(doc.get(), n, address) : rss_item(doc.get(), n, address, item_ns);
        if (item.title.empty() && item.link.empty())
            continue;
        if (item.title.empty())
            item.title = item.link;
        f.items.push_back(item);
    }
    out = f;
    return true;
}

} // namespace server
