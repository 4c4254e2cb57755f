#include "ui/resources.h"
#include "ui/ui_error.h"

#include <gtest/gtest.h>
#include <set>

namespace {

namespace res = cl::ui::resources;

class resource_table : public ::testing::Test {
protected:
    void SetUp() override {
        res::load(L"/opt/panel");
        res::set_portrait(true);
    }
    void TearDown() override { res::set_portrait(true); }
};

TEST_F(resource_table, orientation_picks_the_variant) {
    EXPECT_EQ(res::path(L"background"), L"/opt/panel/images/portrait/background-p.png");
    res::set_portrait(false);
    EXPECT_EQ(res::path(L"background"), L"/opt/panel/images/landscape/background-l.png");
    EXPECT_EQ(res::path(L"arrow_up"), L"/opt/panel/images/arrow_up.png");
    EXPECT_EQ(res::path(L"home_weather"), L"/opt/panel/images/landscape/home_weather.png");
}

TEST_F(resource_table, folders_and_special_file_names) {
    EXPECT_EQ(res::path(L"earth_shade"), L"/opt/panel/images/EarthShade210x214.png");
    EXPECT_EQ(res::path(L"globe_arrow_left"), L"/opt/panel/images/globe_arrow_left.a.png");
    EXPECT_EQ(res::path(L"weatherinfobg"), L"/opt/panel/images/weather/weatherinfobg.d.png");
    EXPECT_EQ(res::path(L"state_s13"), L"/opt/panel/images/weather/state_s13.png");
    EXPECT_EQ(res::path(L"left_top_border"), L"/opt/panel/images/border/left_top_border.png");
    EXPECT_EQ(res::path(L"focused_bottom_left_corner"),
              L"/opt/panel/images/corners/focused_bottom_left_corner.png");
    EXPECT_EQ(res::path(L"bottom_arrow_10x5"), L"/opt/panel/images/scroll/bottom_arrow_10x5.png");
    res::load(L"/opt/panel/");
    EXPECT_EQ(res::path(L"divider"), L"/opt/panel/images/portrait/divider-p.png");
}

TEST_F(resource_table, unknown_and_landscape_only_keys_fail_in_portrait) {
    for (const wchar_t* key : {L"home_weather", L"home_tipline", L"no_such_key", L""}) {
        try {
            res::path(key);
            FAIL() << "no exception";
        } catch (const cl::ui::res_error& e) {
            EXPECT_STREQ(e.what(), "invalid resource id");
        }
    }
}

TEST_F(resource_table, holds_the_93_keys_once_each) {
    auto keys = res::keys();
    EXPECT_EQ(keys.size(), 93u);
    std::set<std::wstring> unique;
    int landscape_only = 0;
    for (auto& k : keys) {
        unique.insert(k.key);
        landscape_only += !k.portrait && k.landscape;
    }
    EXPECT_EQ(unique.size(), 93u);
    EXPECT_EQ(landscape_only, 2);
}

} // namespace
