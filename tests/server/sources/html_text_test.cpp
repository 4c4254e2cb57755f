#include "html_text.h"

#include <gtest/gtest.h>

namespace {

using paragraphs = std::vector<std::string>;

bool valid_utf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80             ? 1
                              : (c & 0xE0) == 0xC0 ? 2
                              : (c & 0xF0) == 0xE0 ? 3
                              : (c & 0xF8) == 0xF0 ? 4
                                                   : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += n;
    }
    return true;
}

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
        {"<p>a\xff b\xe2\x82</p>", {"a b"}}, // the parser passes bytes that are no UTF-8 through
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

    // Cut where the limits are, the text still ends on a whole character (the article is XML in UTF-8),
    // without a space, and within the limit.
    std::string euros;
    for (int i = 0; i < 100000; ++i)
        euros += "\u20ac";
    std::string past_input_limit = "<p>"; // 4 MiB less these three bytes is no whole number of characters
    for (int i = 0; i < 14; ++i)
        past_input_limit += euros;
    std::string words = "<p>";
    for (int i = 0; i < 300000; ++i)
        words += "w ";
    for (const std::string& html : {"<p>" + euros + "</p>", past_input_limit, words}) {
        const paragraphs cut = server::html_to_paragraphs(html).paragraphs;
        ASSERT_FALSE(cut.empty());
        EXPECT_GT(cut[0].size(), 100000u);
        std::size_t size = 0;
        for (const std::string& p : cut) {
            EXPECT_TRUE(valid_utf8(p)) << p.size() << " bytes";
            EXPECT_NE(p.back(), ' ');
            size += p.size();
        }
        EXPECT_LE(size, 256u * 1024);
    }
}

} // namespace
