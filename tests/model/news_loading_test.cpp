// The news objects loading themselves from a server that behaves, changes, breaks or hangs.
#include "model/news/manager.h"
#include "support/loading_fixture.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

const std::string world_v1 =
    "<newsheadline timestamp=\"20261201T100000\">"
    "<headline id=\"w 1\" timestamp=\"1\"><text>Old</text><image url=\"/p/1.jpg\"/></headline>"
    "</newsheadline>";
const std::string world_v2 = "<newsheadline timestamp=\"20261202T100000\">"
                             "<headline id=\"w2\" timestamp=\"1\"><text>New</text></headline></newsheadline>";

class news_loading : public loading_fixture {
protected:
    void SetUp() override {
        configure_world_news(false);
        world = manager.categories()[0];
    }
    bool logged(const std::string& line) { return log.contains(line); }
    std::vector<std::wstring> texts() {
        news::headlines_lock lock(world);
        std::vector<std::wstring> out;
        if (lock.list())
            for (auto& h : *lock.list())
                out.push_back(h->text());
        return out;
    }

    news::manager manager;
    news::category_ptr world;
};

TEST_F(news_loading, a_category_loads_at_the_headline_size_and_a_newer_document_replaces_it) {
    server->add_route("/news/world?width=120&height=90", world_v1);
    world->load();
    EXPECT_TRUE(world->is_loaded());
    EXPECT_FALSE(world->is_failed());
    EXPECT_EQ(texts(), (std::vector<std::wstring>{L"Old"}));
    EXPECT_TRUE(logged("Category World reloaded"));

    world->load(); // the same document: kept
    EXPECT_FALSE(world->is_modified());
    EXPECT_TRUE(logged("Category World check for modifications"));
    server->add_route("/news/world?width=120&height=90", world_v2);
    world->load();
    EXPECT_TRUE(world->is_modified());
    EXPECT_TRUE(logged("Category World was modified"));
    EXPECT_EQ(texts(), (std::vector<std::wstring>{L"New"}));
    EXPECT_EQ(manager.find_headline(L"World", L"", L"w2")->text(), L"New");
    EXPECT_EQ(manager.find_headline(L"World", L"", L"w 1"), nullptr); // gone with the old list
    EXPECT_EQ(manager.find_headline(L"World", L"", L""), nullptr);
}

TEST_F(news_loading, a_headline_loads_its_article_and_the_full_sized_picture_comes_at_the_asked_size) {
    server->add_route("/news/world?width=120&height=90", world_v1);
    world->load();
    news::headline_ptr h = manager.find_headline(L"World", L"", L"w 1");
    ASSERT_TRUE(h);
    server->add_route(
        "/news/world?itemid=w%201&width=440&height=330",
        "<article><datacontent><image url=\"/i/big.jpg\"/><thumbnail url=\"/i/small.jpg\"/>"
        "</datacontent><location>Oslo, Norway</location><text><paragraph>First.</paragraph></text>"
        "</article>");
    h->load();
    EXPECT_TRUE(h->is_loaded());
    EXPECT_FALSE(h->is_failed());
    {
        news::article_lock lock(h);
        ASSERT_TRUE(lock.article());
        EXPECT_EQ(lock.article()->location(), L"Oslo, Norway");
        EXPECT_EQ(lock.article()->paragraphs().size(), 1u);
    }
    h->load(); // loaded and not failed: nothing happens
    const std::vector<std::string> targets = server->targets();
    EXPECT_EQ(std::count(targets.begin(), targets.end(), "/news/world?itemid=w%201&width=440&height=330"), 1);

    news::article_ptr a;
    {
        news::article_lock lock(h);
        a = lock.article();
    }
    a->set_picture_size(800, 600);
    server->add_route("/news/world?itemid=w%201&width=800&height=600",
                      "<article><datacontent><image url=\"/i/big800.jpg\"/><thumbnail url=\"/i/at800.jpg\"/>"
                      "</datacontent><text/></article>");
    a->load();
    EXPECT_EQ(a->full_sized_picture()->url(), L"/i/at800.jpg");
    EXPECT_FALSE(a->full_sized_picture()->is_queued());
    EXPECT_TRUE(logged("Try to load image /i/at800.jpg"));
}

TEST_F(news_loading, broken_servers_leave_the_category_failed_with_its_data) {
    server->add_route("/news/world?width=120&height=90", world_v1);
    world->load();
    server->add_route("/news/world?width=120&height=90", "<html>garbage");
    world->load();
    EXPECT_TRUE(world->is_failed());
    EXPECT_EQ(texts(), (std::vector<std::wstring>{L"Old"})); // the list stays
    // A newer document broken half-way keeps the previous good list, not the headlines read before the bad
    // one.
    server->add_route("/news/world?width=120&height=90",
                      "<newsheadline timestamp=\"20261203T100000\"><headline id=\"k\" timestamp=\"1\">"
                      "<text>Cut</text></headline><headline/></newsheadline>");
    world->load();
    EXPECT_TRUE(world->is_failed());
    EXPECT_EQ(texts(), (std::vector<std::wstring>{L"Old"}));
    EXPECT_TRUE(logged("Category loading error. Name: World. Url: /news/world"));
    EXPECT_TRUE(logged("Error: not valid xml - can't parse"));
    EXPECT_TRUE(logged("Error: not valid xml"));

    server->add_route("/news/world?width=120&height=90", std::string());
    world->load();
    EXPECT_TRUE(world->is_failed());

    // A server that hangs fails at the stall time-out and keeps the list too.
    server->add_silent_route("/news/world?width=120&height=90");
    world->load();
    EXPECT_TRUE(world->is_failed());
    EXPECT_EQ(texts(), (std::vector<std::wstring>{L"Old"}));
    EXPECT_TRUE(logged("Error: Internet file reading fails (no data for 500 ms)"));
}

} // namespace
