#pragma once

#include "model/news/article.h"
#include "model/news/category.h"
#include "net/held_copies.h"

namespace news {

// Fetches a category's headlines document and applies it; raises on failure. Nothing is locked while the
// document is fetched and read; the new list is swapped in at the end.
struct headlines_loader {
    static void load_headlines(category& c);
    // Applies the held copy of the category's document without asking the network; true when there was one
    // and it was applied (the category then shows it, with its copy time).
    static bool load_held_copy(category& c);
    // The document part: applies the document text (pictures live on host). A document failing half-way
    // leaves a category that already accepted one as it was; a category without one keeps what was read.
    static void apply(category& c, const char* document, const std::wstring& host);
};

// Fetches an article document at the article's picture size and fills the article; raises on failure. The
// time of the held copy that stood in for the network's answer, or 0.
cl::http::copy_time load_article(article& a);
// The document part of load_article.
void apply_article(article& a, const char* document, const std::wstring& host);

} // namespace news
