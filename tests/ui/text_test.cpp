#include "platform/text_renderer.h"
#include "support/graphics_fixture.h"
#include "ui/static_fonts.h"

namespace {

using platform::RECT;
using platform::RGB;

class text : public graphics_fixture {
protected:
    // Columns and rows of the rectangle where any pixel differs from the background.
    RECT ink_box(const RECT& area, std::uint16_t background) const {
        RECT box{area.right, area.bottom, area.left - 1, area.top - 1};
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (pixel(x, y) != background) {
                    box.left = std::min(box.left, x);
                    box.right = std::max(box.right, x);
                    box.top = std::min(box.top, y);
                    box.bottom = std::max(box.bottom, y);
                }
        return box;
    }
};

TEST(fonts, resolve_to_installed_fonts_faces_are_cut_to_30_characters_and_style_bits_combine) {
    EXPECT_EQ(platform::resolved_family(L"Tahoma"), "Tahoma");
    EXPECT_EQ(platform::resolved_family(L"GenericSansSerif"), "DejaVu Sans");
    auto f = cl::ui::create_font(std::wstring(40, L'x'), 20, 5);
    EXPECT_EQ(f->spec().face.size(), 30u);
    EXPECT_TRUE(f->is_bold());
    EXPECT_EQ(f->spec().style, cl::ui::style_bold | cl::ui::style_underline);
}

TEST_F(text, wrapping_gives_more_lines_and_empty_text_measures_one_line) {
    auto font = cl::ui::fonts::tahoma_22;
    const std::wstring sentence = L"Storm warnings issued for the northern coast tonight";
    platform::SIZE one = g->measure_text(L"", font, 400);
    EXPECT_EQ(one.cx, 400);
    EXPECT_GE(one.cy, 20);
    EXPECT_LE(one.cy, 30);
    platform::SIZE wide = g->measure_text(sentence, font, 2000);
    platform::SIZE narrow = g->measure_text(sentence, font, 150);
    EXPECT_EQ(wide.cy, one.cy);
    EXPECT_GE(narrow.cy, 3 * one.cy);
    // An explicit break starts a line whatever the width.
    EXPECT_EQ(g->measure_text(L"a\nb", font, 2000).cy, 2 * one.cy);
    // A word longer than the line is broken inside it.
    EXPECT_GE(g->measure_text(L"Supercalifragilisticexpialidocious", font, 60).cy, 3 * one.cy);
    // Wider text is wider.
    EXPECT_GT(g->text_width(L"WWWW", font), g->text_width(L"iiii", font));
    EXPECT_GT(g->text_width(L"Weather", cl::ui::fonts::tahoma_40), g->text_width(L"Weather", font));
}

TEST_F(text, alignment_places_the_text_and_nothing_leaves_the_rectangle) {
    const RECT box{100, 100, 400, 160};
    const std::uint16_t bg = 0x0000;
    auto font = cl::ui::fonts::tahoma_26;
    int w = g->text_width(L"News", font);
    auto ink_of = [&](int align) {
        clear(bg);
        g->draw_text(L"News", box, font, RGB(255, 255, 255), align);
        return ink_box(RECT{0, 0, 800, 800}, bg);
    };

    RECT left = ink_of(cl::ui::align_left);
    EXPECT_LE(left.left, box.left + 4);
    EXPECT_GE(left.top, box.top);
    RECT centre = ink_of(cl::ui::align_center);
    EXPECT_NEAR((centre.left + centre.right) / 2.0, (box.left + box.right) / 2.0, 4);
    RECT right = ink_of(cl::ui::align_right);
    EXPECT_GE(right.right, box.right - 4);
    EXPECT_LT(right.right, box.right);
    EXPECT_NEAR(right.right - right.left, w, 6);

    // A long text in a small box is cut at the box on every side.
    clear(bg);
    const RECT small{300, 300, 360, 320};
    g->draw_text(L"A very long headline that cannot fit", small, font, RGB(255, 255, 0),
                 cl::ui::align_center);
    EXPECT_EQ(changed_outside(small, bg), 0);
    RECT ink = ink_box(small, bg);
    EXPECT_LT(ink.left, ink.right);
}

TEST_F(text, text_is_drawn_on_a_transparent_background_in_its_colour) {
    const std::uint16_t bg = 0x8410;
    clear(bg);
    g->draw_text(L"\u2588\u2588\u2588", RECT{10, 10, 300, 60}, cl::ui::fonts::tahoma_40, RGB(255, 0, 0),
                 cl::ui::align_left);
    RECT ink = ink_box(RECT{0, 0, 400, 100}, bg);
    ASSERT_LT(ink.left, ink.right);
    // Between the glyphs the background stays; inside a solid glyph the colour is pure.
    EXPECT_EQ(pixel(299, 59), bg);
    EXPECT_GT(count(RECT{ink.left, ink.top, ink.right + 1, ink.bottom + 1}, 0xF800), 50);
}

TEST_F(text, bold_draws_heavier_strokes_than_regular) {
    auto ink = [&](const cl::ui::font_ptr& font) {
        clear(0);
        g->draw_text(L"World News", RECT{0, 0, 400, 60}, font, RGB(255, 255, 255), cl::ui::align_left);
        int n = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 400; ++x)
                n += pixel(x, y) > 0x8000;
        return n;
    };
    EXPECT_GT(ink(cl::ui::fonts::tahoma_28_bold), ink(cl::ui::fonts::tahoma_28) * 5 / 4);
}

} // namespace
