#include "url_tools.h"

#include <cctype>
#include <cstdint>
#include <libxml/uri.h>

namespace server {

std::string resolve_url(const std::string& base, const std::string& reference) {
    std::string ref = reference;
    // Feeds write addresses with surrounding white space more often than one would think.
    const std::size_t a = ref.find_first_not_of(" \t\r\n"), b = ref.find_last_not_of(" \t\r\n");
    ref = a == std::string::npos ? std::string() : ref.substr(a, b - a + 1);
    if (base.empty() || ref.empty())
        return ref;
    xmlChar* built = xmlBuildURI(reinterpret_cast<const xmlChar*>(ref.c_str()),
                                 reinterpret_cast<const xmlChar*>(base.c_str()));
    if (!built)
        return ref;
    std::string out = reinterpret_cast<const char*>(built);
    xmlFree(built);
    return out;
}

bool split_web_url(const std::string& url, url_parts& out) {
    xmlURIPtr uri = xmlParseURI(url.c_str());
    if (!uri)
        return false;
    url_parts p;
    if (uri->scheme)
        p.scheme = uri->scheme;
    if (uri->server)
        p.host = uri->server;
    p.port = uri->port;
    xmlFreeURI(uri);
    for (char& c : p.scheme)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : p.host)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (p.host.size() > 2 && p.host.front() == '[' && p.host.back() == ']')
        p.host = p.host.substr(1, p.host.size() - 2);
    if ((p.scheme != "http" && p.scheme != "https") || p.host.empty() || p.port < 0 || p.port > 65535)
        return false;
    if (p.port == 0)
        p.port = p.scheme == "https" ? 443 : 80;
    out = p;
    return true;
}

std::string stable_id(const std::string& text) {
    std::uint64_t h = 1469598103934665603ULL;
    for (unsigned char c : text)
        h = (h ^ c) * 1099511628211ULL;
    static const char digits[] = "0123456789abcdef";
    std::string out(16, '0');
    for (int i = 15; i >= 0; --i, h >>= 4)
        out[static_cast<std::size_t>(i)] = digits[h & 15];
    return out;
}

} // namespace server
