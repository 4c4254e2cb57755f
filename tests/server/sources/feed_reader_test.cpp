#include "feed_reader.h"
#include "support/fixture_files.h"

#include <chrono>
#include <gtest/gtest.h>

namespace {

server::feed read(const std::string& bytes, const std::string& address = "http://feeds.test/news/rss.xml") {
    server::feed f;
    std::string error;
    EXPECT_TRUE(server::read_feed(bytes, address, f, error)) << error;
    return f;
}

TEST(feed_reader, rss2_items_with_their_namespaces_dates_and_pictures) {
    const server::feed f = read(read_fixture("rss2.xml"));
    EXPECT_EQ(f.format, "rss2");
    EXPECT_EQ(f.title, "Harbour Gazette & Friends");
    ASSERT_EQ(f.items.size(), 4u);
    struct {
        const char* title;
        const char* link;
        std::int64_t published;
        const char* picture;
    } expected[] = {
        {"Ferry service <resumes> after the storm", "http://gazette.test/ferry", 1796542200,
         "http://feeds.test/pictures/ferry.webp"},
        {"Lighthouse repainted", "http://feeds.test/news/stories/lighthouse.html", 1796530500, ""},
        {"Harbour podcast: the tides", "http://gazette.test/podcast", 1796407200, ""},
        {"Market day moved", "http://gazette.test/market", 1796299200,
         "http://gazette.test/market-thumb.jpg"},
    };
    for (std::size_t i = 0; i < 4; ++i) {
        const server::feed_item& item = f.items[i];
        EXPECT_EQ(item.title, expected[i].title);
        EXPECT_EQ(item.link, expected[i].link);
        EXPECT_TRUE(item.has_date) << i;
        EXPECT_EQ(item.published, expected[i].published) << item.title;
        EXPECT_EQ(item.picture, expected[i].picture);
        EXPECT_EQ(item.id.size(), 16u);
    }
    // The full text wins over the description.
    EXPECT_NE(f.items[0].html.find("caf&eacute;"), std::string::npos);
    EXPECT_NE(f.items[1].html.find("<img src=\"../pictures/lighthouse.png\""), std::string::npos);
    EXPECT_EQ(f.items[1].base, "http://feeds.test/news/rss.xml");
}

TEST(feed_reader, ids_are_stable_and_come_from_the_guid_or_else_the_link) {
    const server::feed a = read(read_fixture("rss2.xml"));
    std::string moved = read_fixture("rss2.xml");
    // The same feed found at a new address, with a retitled item: ids from guids stay, ids from relative
    // links follow the address.
    const std::size_t at = moved.find("Ferry service");
    moved.replace(at, 13, "Ferries");
    const server::feed b = read(moved, "http://mirror.test/rss.xml");
    EXPECT_EQ(a.items[0].id, b.items[0].id);
    EXPECT_NE(a.items[1].id, b.items[1].id);
    EXPECT_EQ(a.items[2].id, b.items[2].id);
    EXPECT_NE(a.items[0].id, a.items[2].id);
}

TEST(feed_reader, rss1_in_its_declared_encoding) {
    const server::feed f = read(read_fixture("rss1.xml"));
    EXPECT_EQ(f.format, "rss1");
    EXPECT_EQ(f.title, "Valley Courier");
    ASSERT_EQ(f.items.size(), 2u);
    EXPECT_EQ(f.items[1].title, "F\u00eate du fromage");
    EXPECT_EQ(f.items[0].published, 1796533200); // 07:00 at +02:00
    EXPECT_EQ(f.items[1].published, 1796466600); // 09:00 at -01:30
    EXPECT_EQ(f.items[0].html, "The pass road is open again.");
}

TEST(feed_reader, atom_with_xml_base_xhtml_html_and_text_content) {
    const server::feed f = read(read_fixture("atom.xml"), "http://orbit.test/feeds/atom.xml");
    EXPECT_EQ(f.format, "atom");
    ASSERT_EQ(f.items.size(), 3u);
    const server::feed_item& comet = f.items[0];
    EXPECT_EQ(comet.title, "Comet brightens");
    EXPECT_EQ(comet.link, "http://orbit.test/atom/comet.html");
    EXPECT_EQ(comet.picture, "http://orbit.test/pictures/comet.jpg");
    EXPECT_EQ(comet.published, 1796531400); // published (10:00 at +05:30) wins over updated
    EXPECT_NE(comet.html.find("<strong>brighten</strong>"), std::string::npos);
    EXPECT_EQ(f.items[1].published, 1796517900);
    EXPECT_EQ(f.items[1].html, "<p>Winds delayed the test.</p><p>A new date follows.</p>");
    EXPECT_EQ(f.items[2].html, "First line &amp; more.<p>Second paragraph.");
}

TEST(feed_reader, feeds_without_dates_and_broken_encodings_still_read) {
    const server::feed undated = read(read_fixture("nodates.xml"));
    ASSERT_EQ(undated.items.size(), 3u);
    for (const auto& item : undated.items)
        EXPECT_FALSE(item.has_date) << item.title;
    EXPECT_EQ(undated.items[2].link, "");

    // Declared UTF-8, written in Latin-1: read as Windows-1252 rather than refused.
    const server::feed latin =
        read("<?xml version=\"1.0\" encoding=\"UTF-8\"?><rss><channel><title>Caf\xe9</title>"
             "<item><title>Na\xefve \x93quotes\x94</title><link>http://x.test/a</link></item>"
             "</channel></rss>");
    EXPECT_EQ(latin.title, "Caf\u00e9");
    ASSERT_EQ(latin.items.size(), 1u);
    EXPECT_EQ(latin.items[0].title, "Na\u00efve \u201cquotes\u201d");
}

TEST(feed_reader, refuses_what_is_not_a_feed_and_never_reads_entities_from_outside) {
    struct {
        const char* what;
        std::string bytes;
    } refused[] = {
        {"html", "<html><body><p>Not a feed</p></body></html>"},
        {"truncated", read_fixture("rss2.xml").substr(0, 700)},
        {"empty", ""},
        {"json", "{\"items\": []}"},
        {"other xml", "<?xml version=\"1.0\"?><opml><body/></opml>"},
    };
    for (const auto& r : refused) {
        server::feed f;
        std::string error;
        EXPECT_FALSE(server::read_feed(r.bytes, "http://feeds.test/", f, error)) << r.what;
        EXPECT_FALSE(error.empty()) << r.what;
    }

    // An external entity would put a local file into the title; it must stay out.
    const std::string xxe =
        "<?xml version=\"1.0\"?><!DOCTYPE rss [<!ENTITY secret SYSTEM \"file:///etc/hostname\">"
        "<!ENTITY remote SYSTEM \"http://127.0.0.1:1/x\">]>"
        "<rss><channel><title>t</title><item><title>before&secret;&remote;after</title>"
        "<link>http://x.test/1</link></item></channel></rss>";
    server::feed f;
    std::string error;
    if (server::read_feed(xxe, "http://feeds.test/", f, error)) {
        ASSERT_EQ(f.items.size(), 1u);
        EXPECT_EQ(f.items[0].title, "beforeafter");
    }

    // Billion laughs: refused or read without expanding, and quickly.
    std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE rss [<!ENTITY l0 \"lol\">";
    for (int i = 1; i <= 12; ++i)
        laughs += "<!ENTITY l" + std::to_string(i) + " \"" + std::string() + [&] {
            std::string s;
            for (int k = 0; k < 10; ++k)
                s += "&l" + std::to_string(i - 1) + ";";
            return s;
        }() + "\">";
    laughs +=
        "]><rss><channel><title>&l12;</title><item><title>x&l12;</title><link>http://x.test/</link></item>"
        "</channel></rss>";
    server::feed big;
    if (server::read_feed(laughs, "http://feeds.test/", big, error)) {
        EXPECT_LT(big.title.size(), 1000u);
        for (const auto& item : big.items)
            EXPECT_LT(item.title.size(), 1000u);
    }
}

TEST(feed_reader, keeps_at_most_the_items_asked_for) {
    std::string many = "<rss><channel><title>Many</title>";
    for (int i = 0; i < 500; ++i)
        many += "<item><title>Item " + std::to_string(i) + "</title><link>http://x.test/" +
                std::to_string(i) + "</link></item>";
    many += "<item><description>no title, no link</description></item></channel></rss>";
    server::feed f;
    std::string error;
    ASSERT_TRUE(server::read_feed(many, "http://x.test/", f, error, 50));
    EXPECT_EQ(f.items.size(), 50u);
    EXPECT_EQ(f.items[49].title, "Item 49");
}

} // namespace
