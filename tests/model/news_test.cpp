#include "model/config.h"
#include "model/news/loaders.h"
#include "model/news/manager.h"
#include "model/news/timestamp.h"
#include "platform/clock.h"
#include "support/config_file.h"
#include "support/error_text.h"

#include <gtest/gtest.h>

namespace {

using news::category;
using news::headlines_loader;

const char* const config_xml = R"(<internet><server name="127.0.0.1:1"/><news>
  <headline pict_width="120" pict_height="90"/>
  <categories>
    <category name="World" url="/news/world" color="196,30,58"/>
    <category name="Sport" url="/news/sport" color="230,126,34">
      <subcategory name="Football" url="/news/sport/football" color="1,2,3"/>
      <subcategory name="Tennis" url="/news/sport/tennis" color="4,5,6"/>
    </category>
  </categories>
  <article pict_width="440" pict_height="330"/>
</news></internet>)";

class news_model : public ::testing::Test {
protected:
    void SetUp() override { use_config(folder, config_xml); }
    void TearDown() override { zor::config::reset(); }

    // Applies a document as a successful load would.
    std::string apply(category& c, const std::string& document) {
        try {
            headlines_loader::apply(c, document.c_str(), L"host");
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    }
    temp_folder folder;
};

TEST(news_timestamp, valid_and_invalid_stamps) {
    // Seconds since 1970 in UTC; the device clock's zone bias is added on top.
    const std::int64_t bias = platform::time_zone_bias_minutes() * 60;
    EXPECT_EQ(news::parse_timestamp("20080229T120000"), 1204286400 + bias);
    EXPECT_EQ(news::parse_timestamp("19700101T000000"), bias);
    EXPECT_EQ(news::parse_timestamp("20261206T235959"), 1796601599 + bias);
    for (const char* bad : {"20070229T120000", "20080230T120000", "20080101T240000", "20081301T000000",
                            "19691231T235959", "20710101T000000", "20080101T006000", "2008", "", "T"})
        EXPECT_EQ(news::parse_timestamp(bad), -1) << bad;
}

TEST_F(news_model, categories_plain_and_structured_and_lookups) {
    news::manager m;
    const auto& cats = m.categories();
    ASSERT_EQ(cats.size(), 2u);
    EXPECT_EQ(cats[0]->subcategories(), nullptr);
    ASSERT_TRUE(cats[1]->subcategories());
    ASSERT_EQ(cats[1]->subcategories()->size(), 2u);
    EXPECT_EQ((*cats[1]->subcategories())[1]->name(), L"Tennis");
    EXPECT_EQ(cats[0]->color(), 196u + 30u * 256 + 58u * 65536);
    EXPECT_EQ(m.find_category(L"Sport", L""), cats[1]);
    EXPECT_EQ(m.find_category(L"Sport", L"Football"), (*cats[1]->subcategories())[0]);
    EXPECT_EQ(m.find_category(L"Sport", L"Chess"), nullptr);
    EXPECT_EQ(m.find_category(L"", L""), nullptr);
    EXPECT_EQ(m.find_category(L"Weather", L""), nullptr);
    // Not loaded: no list, no lock taken, no headline.
    EXPECT_EQ(cats[0]->lock_headlines(), nullptr);
    news::headlines_lock none(cats[0]);
    EXPECT_EQ(none.list(), nullptr);
    news::headlines_lock null_category(nullptr);
    EXPECT_EQ(null_category.list(), nullptr);
    EXPECT_EQ(m.find_headline(L"World", L"", L"w1"), nullptr);
}

TEST_F(news_model, headlines_documents) {
    category c(L"World", L"/news/world", 0);
    EXPECT_EQ(
        apply(c, "<newsheadline><headline id=\"w1\" timestamp=\"x\"><text>Storm</text>"
                 "<image url=\"/p/1.jpg\"/></headline><headline id=\"w2\" timestamp=\"x\"><text/></headline>"
                 "</newsheadline>"),
        "");
    ASSERT_EQ(c.headlines().size(), 2u);
    EXPECT_EQ(c.headlines()[0]->text(), L"Storm");
    EXPECT_EQ(c.headlines()[0]->picture()->url(), L"/p/1.jpg");
    EXPECT_EQ(c.headlines()[0]->category_url(), L"/news/world");
    EXPECT_EQ(c.headlines()[1]->text(), L"");  // an empty text element
    EXPECT_FALSE(c.headlines()[1]->picture()); // nothing to fetch
    EXPECT_EQ(c.timestamp(), 0);               // no stamp on the root

    EXPECT_EQ(apply(c, "not xml at all <"), "not valid xml - can't parse");
    EXPECT_EQ(apply(c, "<other/>"), "document is empty");

    // A headline without its stamp fails the document: the list accepted before stays whole; a category that
    // never accepted one keeps the headlines read before the bad one.
    const std::string bad_second =
        "<newsheadline><headline id=\"a\" timestamp=\"1\"><text>One</text></headline>"
        "<headline id=\"b\"><text>Two</text></headline>"
        "<headline id=\"c\" timestamp=\"1\"><text>Three</text></headline></newsheadline>";
    EXPECT_EQ(apply(c, bad_second), "not valid xml");
    ASSERT_EQ(c.headlines().size(), 2u);
    EXPECT_EQ(c.headlines()[0]->id(), L"w1");
    category fresh(L"World", L"/news/world", 0);
    EXPECT_EQ(apply(fresh, bad_second), "not valid xml");
    ASSERT_EQ(fresh.headlines().size(), 1u);
    EXPECT_EQ(fresh.headlines()[0]->id(), L"a");
    EXPECT_EQ(apply(fresh, "<newsheadline><headline id=\"a\" timestamp=\"1\"/></newsheadline>"),
              "not valid xml");
}

// A category whose first load failed still fills from a document without a stamp; a newer document failing
// half way then keeps the list, the stamp and the modified flag it had.
TEST_F(news_model, a_failed_first_load_still_fills_and_a_newer_document_failing_half_way_keeps_the_list) {
    news::manager m;
    news::category_ptr c = m.categories()[0];
    c->load(); // the server is unreachable: loaded and failed, nothing accepted yet
    ASSERT_TRUE(c->is_loaded());
    EXPECT_TRUE(c->is_failed());
    EXPECT_EQ(apply(*c, "<newsheadline><headline id=\"a\" timestamp=\"1\"><text>Hi</text></headline>"
                        "</newsheadline>"),
              "");
    {
        news::headlines_lock lock(c);
        ASSERT_TRUE(lock.list());
        EXPECT_EQ(lock.list()->size(), 1u);
    }
    ASSERT_EQ(apply(*c, "<newsheadline timestamp=\"20261201T100000\"><headline id=\"a\" timestamp=\"1\">"
                        "<text>One</text></headline><headline id=\"b\" timestamp=\"1\"><text>Two</text>"
                        "</headline></newsheadline>"),
              "");
    const std::int64_t accepted = c->timestamp();
    c->set_modified(false);
    EXPECT_EQ(apply(*c, "<newsheadline timestamp=\"20261202T100000\"><headline id=\"x\" timestamp=\"1\">"
                        "<text>New</text></headline><headline id=\"y\"><text>Broken</text></headline>"
                        "</newsheadline>"),
              "not valid xml");
    news::headlines_lock lock(c);
    ASSERT_TRUE(lock.list());
    ASSERT_EQ(lock.list()->size(), 2u);
    EXPECT_EQ((*lock.list())[0]->id(), L"a");
    EXPECT_EQ((*lock.list())[1]->id(), L"b");
    EXPECT_EQ(c->timestamp(), accepted);
    EXPECT_FALSE(c->is_modified());
}

TEST_F(news_model, article_documents) {
    auto read = [](const std::string& doc) {
        auto a = boost::shared_ptr<news::article>(new news::article(L"/news/world?itemid=1"));
        news::apply_article(*a, doc.c_str(), L"host");
        return a;
    };
    auto full = read("<article><datacontent><image url=\"/i/big.jpg\"/><thumbnail url=\"/i/small.jpg\"/>"
                     "</datacontent><location>Lima, Peru</location><text><paragraph>One.</paragraph>"
                     "<paragraph/><paragraph>Two.</paragraph></text></article>");
    EXPECT_EQ(full->location(), L"Lima, Peru");
    EXPECT_EQ(full->paragraphs(), (std::vector<std::wstring>{L"One.", L"Two."}));
    ASSERT_TRUE(full->thumbnail());
    EXPECT_EQ(full->thumbnail()->url(), L"/i/small.jpg");
    EXPECT_EQ(full->full_sized_picture()->url(), L"/i/big.jpg");
    EXPECT_TRUE(full->is_loaded());

    auto no_image = read("<article><datacontent><thumbnail url=\"/t.jpg\"/></datacontent><location/>"
                         "<text/></article>");
    EXPECT_FALSE(no_image->thumbnail());
    EXPECT_FALSE(no_image->full_sized_picture());
    EXPECT_EQ(no_image->location(), L"(null)"); // an empty element
    EXPECT_TRUE(no_image->paragraphs().empty());

    auto no_location = read("<article><text/></article>");
    EXPECT_EQ(no_location->location(), L"");
    auto no_thumb = read("<article><datacontent><image url=\"/i.jpg\"/></datacontent><text/></article>");
    // Without a thumbnail's address the article has no picture to show, rather than one fetched as "(null)".
    EXPECT_FALSE(no_thumb->thumbnail());
    auto empty_thumb = read(
        "<article><datacontent><image url=\"/i.jpg\"/><thumbnail url=\"\"/></datacontent><text/></article>");
    EXPECT_FALSE(empty_thumb->thumbnail());

    for (auto bad : {std::make_pair("<article><location>x</location></article>", "not valid xml"),
                     std::make_pair("<news/>", "not valid xml - can't detect root node"),
                     std::make_pair("<article>", "not valid xml - can't parse")})
        EXPECT_EQ(error_text<std::runtime_error>([&] { read(bad.first); }), bad.second) << bad.first;
}

TEST_F(news_model, an_article_is_loaded_and_fails_only_by_its_own_flag) {
    news::article a(L"/x");
    EXPECT_TRUE(a.is_loaded());
    static_cast<cl::i_async_info_object&>(a).set_failed(true); // the loading thread's flag
    EXPECT_FALSE(a.is_failed());
    a.set_failed(true);
    EXPECT_TRUE(a.is_failed());
    // No full-sized picture.
    EXPECT_EQ(error_text<std::logic_error>([&] { a.load(); }),
              "Pointer is null! _full_sized_picture == NULL");
}

} // namespace
