#include "platform/text.h"
#include "platform/text_renderer.h"

#include <cstdlib>
#include <fontconfig/fontconfig.h>

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

// Pango's font threads may still hold fontconfig's cached fonts when the process ends; ending must not
// abort then.
[[noreturn]] void draw_then_exit_holding_a_cached_font() {
    std::uint16_t pixels[64 * 16] = {};
    platform::rgb565_target target{pixels, 64, 16, 64};
    platform::RECT r{0, 0, 64, 16};
    platform::draw_text(target, L"Zor", r, platform::font_spec{L"Tahoma", 12, 0}, 0, 0);
    FcFontSet* fonts = FcConfigGetFonts(nullptr, FcSetSystem);
    if (fonts && fonts->nfont > 0)
        FcPatternReference(fonts->fonts[0]);
    std::exit(0);
}

TEST(text, the_process_ends_cleanly_while_a_cached_font_is_still_referenced) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(draw_then_exit_holding_a_cached_font(), ::testing::ExitedWithCode(0), "");
}

} // namespace
