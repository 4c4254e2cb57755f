#pragma once

#include "model/news/article.h"
#include "model/news/category.h"

namespace news {

// Fetches a category's headlines document and applies it; raises on failure. The caller holds the lock.
struct headlines_loader {
    static void load_headlines(category& c);
    // The document part: applies the document text (pictures live on host).
    static void apply(category& c, const char* document, const std::wstring& host);
};

// Fetches an article document at the article's picture size and fills the article; raises on failure.
void load_article(article& a);
// The document part of load_article.
void apply_article(article& a, const char* document, const std::wstring& host);

} // namespace news
