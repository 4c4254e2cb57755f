#include "platform/text.h"

#include <gtest/gtest.h>

namespace {

TEST(text, utf8_round_trips_every_plane) {
    std::wstring s = L"a\u00e9\u4e2d\U0001F600";
    EXPECT_EQ(platform::to_utf8(s), "a\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80");
    EXPECT_EQ(platform::from_utf8(platform::to_utf8(s)), s);
}

TEST(text, invalid_utf8_becomes_replacement_characters_without_eating_valid_text) {
    EXPECT_EQ(platform::from_utf8("a\xff"
                                  "b"),
              L"a\uFFFDb");
    EXPECT_EQ(platform::from_utf8("\xe4\xb8"), L"\uFFFD"); // truncated
    EXPECT_EQ(platform::from_utf8("\xe4"
                                  "x"),
              L"\uFFFDx");                                     // broken sequence keeps the next letter
    EXPECT_EQ(platform::from_utf8("\xc0\xaf"), L"\uFFFD");     // overlong
    EXPECT_EQ(platform::from_utf8("\xed\xa0\x80"), L"\uFFFD"); // surrogate
    EXPECT_EQ(platform::to_utf8(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xef\xbf\xbd");
}

} // namespace
