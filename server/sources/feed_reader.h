#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace server {

struct feed_item {
    std::string id;    // stable: from the guid, the Atom id or the link
    std::string title; // plain text
    std::string link;  // absolute
    bool has_date = false;
    std::int64_t published = 0; // seconds since 1970, UTC
    std::string html;           // the full text (content:encoded, Atom content), else the description
    std::string picture;        // absolute address of its picture, empty when none
    std::string base;           // what relative addresses in html resolve against
};

struct feed {
    std::string format; // "rss2", "rss1" or "atom"
    std::string title;
    std::vector<feed_item> items;
};

// Reads an RSS 2.0, RSS 1.0 (RDF) or Atom 1.0 document with libxml2: no network, no external entities, no
// entity expansion, the declared encoding honoured (a document that is not the encoding it declares is read
// as Windows-1252). address is the feed's own, for relative links. False with a reason when it is not a
// feed. Items without a title and a link are skipped; at most max_items are kept.
bool read_feed(const std::string& bytes, const std::string& address, feed& out, std::string& error,
               std::size_t max_items = 200);

} // namespace server
