#include "model/ads/ads.h"
#include "support/error_text.h"
#include "support/loading_fixture.h"

#include <gtest/gtest.h>

namespace {

class adverts : public loading_fixture {
protected:
    void SetUp() override {
        configure("<server name=\"" + host() +
                  "\"/><news><advertise url=\"/ads\" pict_width=\"480\"/></news>");
    }
};

TEST_F(adverts, three_banners_in_order_and_a_banner_without_its_link_fails_the_load) {
    server->add_route("/ads?width=480",
                      "<advert><image tracker_id=\"t1\" url=\"/b/1.png\" waplink=\"http://a.example/\"/>"
                      "<image tracker_id=\"t2\" url=\"/b/2.png\" waplink=\"http://b.example/\"/>"
                      "<other/><image tracker_id=\"t3\" url=\"/b/3.png\" waplink=\"http://c.example/\"/>"
                      "</advert>");
    ads::manager m;
    auto advert = m.advert();
    EXPECT_EQ(advert->lock_banners(), nullptr); // never loaded: no lock taken
    advert->load();
    ads::banner_list* banners = advert->lock_banners();
    ASSERT_NE(banners, nullptr);
    ASSERT_EQ(banners->size(), 3u);
    EXPECT_EQ((*banners)[0]->tracker_id(), L"t1");
    EXPECT_EQ((*banners)[2]->waplink(), L"http://c.example/");
    EXPECT_EQ((*banners)[1]->picture()->url(), L"/b/2.png");
    advert->unlock_banners();
    EXPECT_EQ(server->targets().back(), "/ads?width=480");

    server->add_route("/ads?width=480",
                      "<advert><image tracker_id=\"t1\" url=\"/b/1.png\" waplink=\"http://a.example/\"/>"
                      "<image tracker_id=\"t2\" url=\"/b/2.png\"/></advert>");
    EXPECT_EQ(error_text<std::runtime_error>([&] { advert->load(); }), "Invalid XML document");
    EXPECT_FALSE(advert->is_loaded());
    EXPECT_EQ(advert->lock_banners(), nullptr);
    server->add_route("/ads?width=480", "<advert/>");
    advert->load();
    ASSERT_NE(advert->lock_banners(), nullptr);
    EXPECT_TRUE(advert->lock_banners()->empty()); // recursive lock
    advert->unlock_banners();
    advert->unlock_banners();
}

} // namespace
