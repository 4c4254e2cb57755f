#include "support/error_text.h"
#include "ui/resources.h"
#include "ui/ui_error.h"

#include <gtest/gtest.h>
#include <set>

namespace {

namespace res = cl::ui::resources;

// Where each key's file is, and that it decodes, is checked on the installed pictures.
class resource_table : public ::testing::Test {
protected:
    void SetUp() override {
        res::load(L"/opt/panel/"); // a trailing separator is not doubled
        res::set_portrait(true);
    }
    void TearDown() override { res::set_portrait(true); }
};

TEST_F(resource_table, orientation_picks_the_variant_and_landscape_only_keys_fail_in_portrait) {
    EXPECT_EQ(res::path(L"background"), L"/opt/panel/images/portrait/background-p.png");
    res::set_portrait(false);
    EXPECT_EQ(res::path(L"background"), L"/opt/panel/images/landscape/background-l.png");
    EXPECT_EQ(res::path(L"arrow_up"), L"/opt/panel/images/arrow_up.png");
    EXPECT_EQ(res::path(L"home_weather"), L"/opt/panel/images/landscape/home_weather.png");
    res::set_portrait(true);
    for (const wchar_t* key : {L"home_weather", L"home_tipline", L"no_such_key", L""})
        EXPECT_EQ(error_text<cl::ui::res_error>([&] { res::path(key); }), "invalid resource id");
    std::set<std::wstring> unique;
    int landscape_only = 0;
    for (auto& k : res::keys()) {
        EXPECT_TRUE(unique.insert(k.key).second) << std::string(k.key.begin(), k.key.end());
        landscape_only += !k.portrait && k.landscape;
    }
    EXPECT_EQ(landscape_only, 2); // the two above
}

} // namespace
