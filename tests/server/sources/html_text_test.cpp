#include "html_text.h"

#include <gtest/gtest.h>

namespace {

using paragraphs = std::vector<std::string>;

TEST(html_text, keeps_the_reading_text_only) {
    struct {
        const char* html;
        paragraphs expected;
    } cases[] = {
        {"<p>One  \n two</p><p>Three</p>", {"One two", "Three"}},
        {"<script>var a = '<p>no</p>';</script><style>p{}</style><p>Kept</p>", {"Kept"}},
        {"<form><p>Sign up</p><input value=x></form>After the form", {"After the form"}},
        {"<ul><li>First</li><li>Second</li></ul>", {"First", "Second"}},
        {"Line one<br>Line two<br/><br>Line three", {"Line one", "Line two", "Line three"}},
        {"Caf&eacute; &amp; cr&egrave;me &lt;b&gt; &#8364;5&nbsp;each",
         {"Caf\u00e9 & cr\u00e8me <b> \u20ac5 each"}},
        {"<div>Outer <span>inline</span> text<div>Inner</div>tail</div>",
         {"Outer inline text", "Inner", "tail"}},
        {"<iframe src=x>frame text</iframe><noscript>no</noscript><p>\t</p>", {}},
        {"plain words without markup", {"plain words without markup"}},
        {"<p>unclosed <b>bold <i>both", {"unclosed bold both"}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(server::html_to_paragraphs(c.html).paragraphs, c.expected) << c.html;
}

TEST(html_text, first_picture_skips_tracking_pixels_and_resolves_addresses) {
    struct {
        const char* html;
        const char* picture;
    } cases[] = {
        {"<img src='t.gif' width=1 height=1><img src='../pics/a.jpg'>", "http://news.test/pics/a.jpg"},
        {"<img src='x.png' style='display:none'><img src='data:image/png;base64,AAAA'>", ""},
        {"<p>text</p><img src='https://cdn.test/b.webp' width=600>", "https://cdn.test/b.webp"},
        {"<img width=0 src='/pixel'><img src='/real.png'>", "http://news.test/real.png"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(server::html_to_paragraphs(c.html, "http://news.test/stories/one.html").first_picture,
                  c.picture)
            << c.html;
}

TEST(html_text, deep_and_huge_pages_end_cleanly) {
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<div>";
    deep += "bottom";
    const server::html_text t = server::html_to_paragraphs(deep);
    EXPECT_LE(t.paragraphs.size(), 1u);

    std::string huge;
    for (int i = 0; i < 20000; ++i)
        huge += "<p>" + std::string(100, 'w') + "</p>";
    std::size_t total = 0;
    for (const std::string& p : server::html_to_paragraphs(huge).paragraphs)
        total += p.size();
    EXPECT_GT(total, 10000u);
    EXPECT_LE(total, 256u * 1024);
    EXPECT_EQ(server::html_to_plain_text("Comet <em>brightens</em> &amp; fades"), "Comet brightens & fades");
}

} // namespace
