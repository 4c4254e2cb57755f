#pragma once

#include "model/news/article.h"
#include "model/news/category.h"

namespace news {

// Fetches a category's headlines document and applies it; raises on failure. Nothing is locked while the
// document is fetched and read; the new list is swapped in at the end.
struct headlines_loader {
    static void load_headlines(category& c);
    // The document part: applies the document text (pictures live on host). A document failing half-way
    // leaves a category that already accepted one as it was; a category without one keeps what was read.
    static void apply(category& c, const char* document, const std::wstring& host);
};

// Fetches an article document at the article's picture size and fills the article; raises on failure.
void load_article(article& a);
// The document part of load_article.
void apply_article(article& a, const char* document, const std::wstring& host);

} // namespace news
