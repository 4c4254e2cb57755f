#include "model/config.h"
#include "support/config_file.h"
#include "support/error_text.h"

#include <gtest/gtest.h>

namespace {

using zor::config;

const char* const sample = R"(<?xml version="1.0"?>
<internet>
  <server name="news.example:8080"/>
  <server name="second.example"/>
  <news>
    <headline pict_width="120" pict_height="90"/>
    <categories>
      <category name="World" url="/news/world" color="255,0,128"/>
      <category name="Sport" url="/news/sport" color="300,0,0">
        <subcategory name="Football" url="/news/sport/football" color="1,2,3"/>
        <subcategory name="Tennis" url="/news/sport/tennis" color="4,5,6"/>
      </category>
    </categories>
    <article pict_width="440" pict_height=""/>
    <advertise url="/ads" pict_width="480"/>
  </news>
</internet>
<app>
  <fonts>
    <font id="art_small" name="Tahoma" size="22" style="regular"/>
    <font id="art_big" name="Tahoma" size="30" style="bold"/>
  </fonts>
</app>
)";

class configuration : public ::testing::Test {
protected:
    void SetUp() override { use_config(folder, sample); }
    void TearDown() override { config::reset(); }
    temp_folder folder;
};

TEST_F(configuration, server_and_picture_queries) {
    config& c = config::instance();
    EXPECT_EQ(c.server_host(), L"news.example:8080");
    EXPECT_EQ(c.weather_host(), L"news.example:8080"); // no weather element: the news server
    auto headline = c.get_items(config::internet, config::headline);
    EXPECT_EQ(config::picture_query(headline), L"?width=120&height=90");
    EXPECT_EQ(config::picture_size(headline).cx, 120);
    EXPECT_EQ(config::picture_query_more(headline, 0, 100), L"&width=120&height=90");
    EXPECT_EQ(config::picture_query_more(headline, 100, 0), L"&width=120&height=90");
    EXPECT_EQ(config::picture_query_more(headline, 480, 360), L"&width=480&height=360");
    auto article = c.get_items(config::internet, config::article);
    EXPECT_EQ(config::picture_query(article), L""); // an empty height
    EXPECT_EQ(config::picture_size(article).cy, 0);
    EXPECT_EQ(config::url_with_width(c.get_items(config::internet, config::advertise)), L"/ads?width=480");
    use_config(folder, "<internet><server name=\"a\"/><weather name=\"w.example:81\"/></internet>");
    EXPECT_EQ(config::instance().weather_host(), L"w.example:81");
}

TEST_F(configuration, categories_with_and_without_children_their_colours_and_fonts_by_id) {
    auto cats = config::instance().get_items(config::internet, config::categories);
    ASSERT_EQ(cats.size(), 2u);
    EXPECT_EQ(config::attribute(cats[0], config::name), L"World");
    EXPECT_EQ(config::color(cats[0]), 0x008000FFu);
    EXPECT_EQ(config::color(cats[1]), 44u); // 300 keeps its low 8 bits
    ASSERT_EQ(cats[1].children.size(), 2u);
    EXPECT_EQ(config::attribute(cats[1].children[1], config::url), L"/news/sport/tennis");
    EXPECT_EQ(config::attribute(cats[0], config::size), L""); // absent: empty

    auto fonts = config::instance().get_items(config::app, config::font);
    std::wstring face = L"unchanged";
    int size = -1, style = -1;
    EXPECT_FALSE(config::find_font(fonts, L"art_medium", face, size, style));
    EXPECT_EQ(face, L"unchanged");
    EXPECT_TRUE(config::find_font(fonts, L"art_big", face, size, style));
    EXPECT_EQ(face, L"Tahoma");
    EXPECT_EQ(size, 30);
    EXPECT_EQ(style, 1);
}

TEST_F(configuration, failures_have_their_messages) {
    EXPECT_EQ(
        error_text<std::runtime_error>([] { config::instance().get_items(config::internet, config::video); }),
        "The node not exists in the config.xml");
    EXPECT_EQ(
        error_text<std::runtime_error>([] { config::instance().get_items(config::app, config::server); }),
        "The node not exists in the config.xml");
    config::reset();
    EXPECT_EQ(error_text<std::runtime_error>([] { config::instance(); }),
              "Error! Using config before initializing!");
    temp_folder broken;
    broken.write("config.xml", "<internet><server name='x'></internet>");
    EXPECT_EQ(error_text<std::runtime_error>([&] { config::init(broken.wpath()); }),
              "can not load config.xml");
    temp_folder empty;
    EXPECT_EQ(error_text<std::runtime_error>([&] { config::init(empty.wpath()); }),
              "can not load config.xml");
}

} // namespace
