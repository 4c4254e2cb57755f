#include "platform/text.h"
#include "support/error_text.h"
#include "support/graphics_fixture.h"
#include "ui/block_list_box_item.h"
#include "ui/gdi_image.h"
#include "ui/graphics.h"
#include "ui/image_list_box_item.h"
#include "ui/move_list_box_item.h"
#include "ui/resources.h"
#include "ui/scrollable_listbox.h"
#include "ui/scrollbar2.h"
#include "ui/simple_list_box.h"

#include <stdexcept>

namespace {

using cl::app::event;
using platform::POINT;
using platform::RECT;

// A row of a fixed height that counts what happens to it.
class row : public cl::ui::list_box_item_base {
public:
    row(cl::ui::list_box_base* owner, const std::wstring& key, int height = 40)
        : list_box_item_base(owner, key), height(height) {}
    void layout() override {
        if (owner())
            layout_top = owner()->next_item_top();
        place(height);
    }
    void draw_content(cl::ui::i_graphics&, bool force) override {
        if (force || dirty)
            ++draws;
        dirty = false;
    }
    std::wstring type_name() const override { return L"test_row"; }
    void on_activated() override { ++activations; }
    int height;
    int draws = 0;
    int activations = 0;
};

class lists : public graphics_fixture {
protected:
    void SetUp() override {
        graphics_fixture::SetUp();
        cl::ui::resources::load(platform::from_utf8(ZOR_PANEL_DIR));
        cl::ui::resources::set_portrait(true);
        made.reset(new cl::ui::list_box2); // its scroll bar needs the pictures
        list().focus_changed.connect(utils::function1<void, std::wstring>(
            [this](std::wstring k) { log.push_back("focus " + std::string(k.begin(), k.end())); }));
        list().item_activated.connect(utils::function1<void, std::wstring>(
            [this](std::wstring k) { log.push_back("activate " + std::string(k.begin(), k.end())); }));
        list().set_rect(RECT{0, 100, 480, 300}); // 200 high: five 40-pixel rows and their gaps overflow it
        for (const wchar_t* key : {L"a", L"b", L"c", L"d", L"e"})
            add(key);
    }
    row& add(const wchar_t* key) {
        auto r = boost::shared_ptr<row>(new row(&list(), key));
        list().add_item(r);
        return *r;
    }
    row& at(const wchar_t* key) { return static_cast<row&>(*list().find_item(key)); }
    void tap(int x, int y, int dx = 0) {
        list().process_event(event(event::pen_down, 0, x, y));
        list().process_event(event(event::pen_move, 0, x + dx, y));
        list().process_event(event(event::pen_up, 0, x + dx, y));
    }

    cl::ui::list_box2& list() { return *made; }
    std::unique_ptr<cl::ui::list_box2> made;
    std::vector<std::string> log;
};

TEST_F(lists, rows_stack_with_their_gap_and_keys_are_unique) {
    EXPECT_EQ(at(L"a").get_rect(), (RECT{0, 104, 460, 144})); // stops short of the scroll bar's strip
    EXPECT_EQ(at(L"b").get_rect().top, 148);
    auto twin = boost::shared_ptr<row>(new row(&list(), L"c", 10));
    EXPECT_EQ(error_text([&] { list().add_item(twin); }), cl::ui::list_box_base::duplicate_key_error);
    EXPECT_EQ(list().item_count(), 5);
    EXPECT_EQ(list().find_item(L"c")->bottom() - list().find_item(L"c")->top(), 40);

    list().insert_front(boost::shared_ptr<row>(new row(&list(), L"first", 20)));
    EXPECT_EQ(at(L"a").get_rect().top, 128);
    list().insert_before(boost::shared_ptr<row>(new row(&list(), L"mid", 20)), L"c");
    list().remove_item(L"b");
    std::vector<std::wstring> keys;
    for (auto& r : list().items())
        keys.push_back(r->key());
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"first", L"a", L"mid", L"c", L"d", L"e"}));
    EXPECT_EQ(at(L"mid").get_rect().top, at(L"a").get_rect().bottom + 4);
}

TEST_F(lists, one_tap_focuses_and_activates_or_two_taps_without_select_on_press) {
    tap(100, 110, 10); // row a; a pen moving ten pixels still taps
    EXPECT_EQ(log, (std::vector<std::string>{"focus a", "activate a"}));
    EXPECT_EQ(at(L"a").activations, 1);
    log.clear();
    // More than ten pixels is a drag: the press lit row c, the drag gives the focus back to a and the lift
    // selects nothing.
    tap(100, 200, 11);
    EXPECT_EQ(at(L"c").activations, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"focus c", "focus a"}));
    EXPECT_EQ(list().focused_key(), L"a");
    EXPECT_FALSE(at(L"c").is_focused());

    log.clear();
    list().set_select_on_press(false);
    tap(100, 160); // row b: focus only
    EXPECT_EQ(log, (std::vector<std::string>{"focus b"}));
    tap(100, 160);
    EXPECT_EQ(log, (std::vector<std::string>{"focus b", "activate b"}));
    tap(470, 160); // the scroll bar's strip is no row
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(lists, keys_move_the_focus_only_once_something_is_focused) {
    list().on_key_down(platform::VK_DOWN);
    list().on_key_down(platform::VK_RETURN);
    EXPECT_TRUE(log.empty());
    list().focus_index(0);
    list().on_key_down(platform::VK_DOWN);
    list().on_key_down(platform::VK_DOWN);
    EXPECT_EQ(list().focused_key(), L"c");
    list().on_key_down(platform::VK_UP);
    list().on_key_down(platform::VK_RETURN);
    EXPECT_EQ(log, (std::vector<std::string>{"focus b", "focus c", "focus b", "activate b"}));
    list().focus_item(L"e");
    list().on_key_down(platform::VK_DOWN); // the last row, and no outer list
    EXPECT_EQ(list().focused_key(), L"e");
    EXPECT_TRUE(at(L"e").is_focused());
    EXPECT_FALSE(at(L"b").is_focused());
}

TEST_F(lists, the_focus_leaves_a_nested_list_for_the_outer_one) {
    cl::ui::list_box_base inner;
    inner.set_rect(RECT{0, 0, 480, 100});
    for (const wchar_t* key : {L"x", L"y"})
        inner.add_item(boost::shared_ptr<row>(new row(&inner, key, 20)));
    inner.set_outer(&list());
    list().focus_item(L"b"); // the row that holds the nested list
    inner.focus_item(L"y");
    inner.focus_next();
    EXPECT_EQ(list().focused_key(), L"c");
    inner.focus_item(L"x");
    inner.focus_previous();
    EXPECT_EQ(list().focused_key(), L"b");
}

TEST_F(lists, scrolling_stays_between_the_first_and_the_last_row) {
    // Five rows of 40 and their gaps end at 324; the view ends at 300.
    list().scroll_y(-1000);
    EXPECT_EQ(list().target(), 300 - 324);
    list().scroll_y(1000);
    EXPECT_EQ(list().target(), 0);
    list().scroll_y(-10);
    EXPECT_EQ(list().target(), -10);
    for (unsigned long t = 1000; t < 3000; t += 25)
        list().update(t);
    EXPECT_EQ(list().offset(), -10);
    EXPECT_EQ(list().bar().position(), 10);

    // With rows that fit, the list goes back to the top, and once drawn it stays quiet: its hidden bar asks
    // for no redraw.
    list().remove_item(L"e");
    list().remove_item(L"d");
    list().scroll_y(-5);
    EXPECT_EQ(list().target(), 0);
    for (unsigned long t = 3000; t < 4000; t += 25)
        list().update(t);
    list().draw(*g, false);
    list().update(4000);
    EXPECT_FALSE(list().is_dirty());
}

TEST_F(lists, a_frame_draws_the_rows_in_view_only) {
    for (const wchar_t* key : {L"f", L"g", L"h"}) // from 324 on, below the view's end at 300
        add(key);
    list().draw(*g, true);
    EXPECT_EQ(at(L"e").draws, 1); // 280-320: partly in view
    EXPECT_EQ(at(L"f").draws, 0);
    EXPECT_EQ(at(L"h").draws, 0);
    list().update(500);
    EXPECT_FALSE(list().is_dirty()) << "rows out of view, never drawn, keep the list drawing";
    // At the end (h ends at 452) the view shows 256-456: the first three rows have left it.
    list().scroll_y(-1000);
    for (unsigned long t = 1000; t < 4000; t += 25)
        list().update(t);
    list().draw(*g, false);
    EXPECT_EQ(at(L"c").draws, 1);
    EXPECT_EQ(at(L"d").draws, 2);
    EXPECT_EQ(at(L"h").draws, 1);
}

TEST_F(lists, focused_rows_are_blue_and_the_others_white) {
    list().focus_item(L"b");
    clear(0);
    list().draw(*g, true);
    EXPECT_EQ(pixel(200, 125), ui_impl::to_rgb565(0xFFFFFF));
    EXPECT_EQ(pixel(200, 165), ui_impl::to_rgb565(cl::ui::list_box_item_base::focused_colour));
    EXPECT_EQ(pixel(200, 146), ui_impl::to_rgb565(cl::ui::list_box2::ground)); // the gap
    EXPECT_EQ(changed_outside(RECT{0, 100, 480, 300}, 0), 0);
}

// A row of a small list; a busy one has news every frame, until it is drawn. Laying it out is news too.
class busy_row : public cl::ui::i_list_box_item {
public:
    bool is_visible() const override { return visible; }
    void set_visible(bool v) override { visible = v; }
    bool is_dirty() const override { return dirty; }
    platform::RECT get_rect() const override { return rect; }
    void set_rect(const platform::RECT& r) override { rect = r; }
    void update(unsigned long) override { dirty = dirty || busy; }
    void layout() override { dirty = true; }
    void draw(cl::ui::i_graphics&, bool) override { dirty = false; }
    void set_selected(bool) override {}
    bool is_selected() const override { return false; }
    void set_tag(int, int) override {}
    std::wstring type_name() const override { return L"busy"; }
    std::wstring text() const override { return L""; }

    bool busy = true;
    bool visible = true;
    bool dirty = true;
    platform::RECT rect{};
};

TEST_F(lists, a_small_list_has_news_from_its_shown_rows_only_and_a_held_row_only_while_it_moves) {
    cl::ui::simple_list_box box;
    auto shown = boost::shared_ptr<busy_row>(new busy_row),
         hidden = boost::shared_ptr<busy_row>(new busy_row);
    hidden->visible = false;
    box.add_item(hidden);
    box.draw(*g, false);
    box.update(25);
    EXPECT_FALSE(box.is_dirty());
    box.add_item(shown);
    box.draw(*g, false);
    box.update(50);
    EXPECT_TRUE(box.is_dirty());

    // A held row at rest has no news; one being wiped away has.
    cl::ui::image_list_box_item row(L"picture", nullptr, 0x808080, true, 40);
    cl::ui::move_list_box_item holder(1.0);
    holder.set_rect(RECT{0, 0, 300, 40});
    holder.set_item(&row);
    holder.update(0);
    holder.draw(*g, false);
    holder.update(25);
    EXPECT_FALSE(holder.is_dirty());
    holder.slide_out();
    holder.update(50);
    EXPECT_TRUE(holder.is_dirty());
    EXPECT_EQ(row.get_rect().left, static_cast<int>(holder.position()));
}

TEST_F(lists, a_small_list_taller_than_its_box_stays_inside_it_and_scrolls_to_its_last_row) {
    // Five rows of 96 in a landscape box of 244: the last row ends 252 pixels below it.
    const RECT box_rect{300, 100, 800, 344};
    cl::ui::simple_list_box box;
    std::vector<boost::shared_ptr<cl::ui::image_list_box_item>> rows;
    for (std::uint16_t i = 1; i <= 5; ++i) {
        rows.emplace_back(new cl::ui::image_list_box_item(
            L"row", solid(500, 96, static_cast<std::uint16_t>(i * 0x1000), 255), 0x808080, true, 96));
        box.add_item(rows.back());
    }
    box.set_rect(box_rect);
    box.layout();
    clear(0);
    box.draw(*g, true);
    EXPECT_EQ(changed_outside(box_rect, 0), 0);
    EXPECT_EQ(pixel(500, 150), 0x1000);

    box.scroll_y(-1000);
    EXPECT_EQ(box.scrolled(), 596 - 344);
    clear(0);
    box.draw(*g, true);
    EXPECT_EQ(changed_outside(box_rect, 0), 0);
    EXPECT_EQ(pixel(500, 340), 0x5000);
    box.scroll_y(1000);
    EXPECT_EQ(box.scrolled(), 0);

    // Turned back to portrait the rows fit, and nothing stays scrolled.
    box.scroll_y(-100);
    box.set_rect(RECT{300, 100, 480, 700});
    box.layout();
    EXPECT_EQ(box.scrolled(), 0);
}

// A list of plain rows and two blocks of rows, taller than its view.
class blocks : public lists {
protected:
    void SetUp() override {
        lists::SetUp();
        list().clear();
        list().set_rect(RECT{0, 100, 480, 400});
        add(L"top");
        for (const wchar_t* name : {L"one", L"two"}) {
            auto b = boost::shared_ptr<cl::ui::block_list_box_item>(
                new cl::ui::block_list_box_item(name, &list()));
            b->set_title(name);
            list().add_item(b);
            for (int i = 1; i <= 3; ++i) {
                const std::wstring key = name + std::to_wstring(i);
                b->add_item(boost::shared_ptr<row>(new row(b.get(), key)));
            }
        }
        add(L"end1");
        add(L"end2");
    }
    // The rows (not blocks) that show the focus.
    std::vector<std::wstring> highlighted() {
        std::vector<std::wstring> keys;
        for (const auto& item : list().items()) {
            if (auto* inner = item->as_list()) {
                for (const auto& r : inner->items())
                    if (r->is_focused())
                        keys.push_back(r->key());
            } else if (item->is_focused()) {
                keys.push_back(item->key());
            }
        }
        return keys;
    }
};

TEST_F(blocks, up_and_down_keep_the_focused_row_in_view_and_only_it_highlighted) {
    list().focus_item(L"top");
    const std::vector<std::wstring> order{L"one1", L"one2", L"one3", L"two1",
                                          L"two2", L"two3", L"end1", L"end2"};
    auto check = [&](const std::wstring& expected) {
        SCOPED_TRACE(std::string(expected.begin(), expected.end()));
        EXPECT_EQ(highlighted(), std::vector<std::wstring>{expected});
        const auto* r = list().find_item(expected);
        ASSERT_TRUE(r);
        // In content coordinates the view shows rect.top - target to rect.bottom - target.
        EXPECT_GE(r->top(), 100 - static_cast<int>(list().target()));
        EXPECT_LE(r->bottom(), 400 - static_cast<int>(list().target()));
    };
    for (const auto& key : order) {
        list().on_key_down(platform::VK_DOWN);
        check(key);
    }
    EXPECT_LT(list().target(), 0);
    for (auto key = order.rbegin() + 1; key != order.rend(); ++key) {
        list().on_key_down(platform::VK_UP);
        check(*key);
    }
    list().on_key_down(platform::VK_UP);
    check(L"top");
    EXPECT_EQ(list().target(), 0);
}

TEST_F(blocks, a_drag_leaves_the_highlight_where_it_was_and_a_tap_in_another_block_takes_it) {
    auto drag = [&](const wchar_t* key) {
        const int y = list().find_item(key)->top() + 10;
        list().process_event(event(event::pen_down, 0, 100, y));
        for (int step = 1; step <= 4; ++step)
            list().process_event(event(event::pen_move, 0, 100, y - 15 * step));
        list().process_event(event(event::pen_up, 0, 100, y - 60));
    };
    drag(L"one2"); // nothing was focused: nothing is
    EXPECT_TRUE(highlighted().empty());
    EXPECT_TRUE(list().focused_key().empty());
    tap(100, list().find_item(L"top")->top() + 10);
    drag(L"two1"); // from a plain row over a block's row: the plain row keeps it
    EXPECT_EQ(highlighted(), std::vector<std::wstring>{L"top"});
    list().focus_item(L"one");
    list().find_item(L"one")->as_list()->focus_item(L"one1");
    drag(L"one3"); // within the block: its own row keeps it
    EXPECT_EQ(highlighted(), std::vector<std::wstring>{L"one1"});
    EXPECT_EQ(list().focused_key(), L"one");

    const int one1 = list().find_item(L"one1")->top() + 10, two1 = list().find_item(L"two1")->top() + 10;
    tap(100, one1);
    EXPECT_EQ(highlighted(), std::vector<std::wstring>{L"one1"});
    tap(100, two1);
    EXPECT_EQ(highlighted(), std::vector<std::wstring>{L"two1"});
    tap(100, list().find_item(L"top")->top() + 10);
    EXPECT_EQ(highlighted(), std::vector<std::wstring>{L"top"});
}

TEST_F(blocks, a_block_out_of_view_leaves_the_list_at_rest) {
    list().set_rect(RECT{0, 100, 480, 160}); // the top row and the start of block one
    list().layout();
    list().draw(*g, true);
    EXPECT_EQ(at(L"two1").draws, 0);
    list().update(500);
    EXPECT_FALSE(list().is_dirty());
}

TEST_F(blocks, blocks_start_at_the_list_margin_and_an_empty_one_draws_nothing) {
    const auto& one = *list().find_item(L"one");
    EXPECT_EQ(one.get_rect().left, list().get_rect().left + list().right_margin());
    EXPECT_EQ(one.get_rect().right, list().content_right());
    EXPECT_EQ(list().find_item(L"one1")->get_rect().left, one.get_rect().left);

    cl::ui::block_list_box_item empty(L"empty", &list());
    empty.set_title(L"Empty");
    empty.layout();
    clear(0);
    empty.draw(*g, true);
    EXPECT_EQ(changed_outside(RECT{0, 0, 0, 0}, 0), 0);
}

TEST(scrollbar, the_thumb_follows_the_position_and_a_drag_moves_the_position) {
    cl::ui::resources::load(platform::from_utf8(ZOR_PANEL_DIR));
    zor::ui::scrollbar2 bar;
    bar.set_rect(RECT{464, 0, 480, 600});
    bar.layout();
    const int track = bar.free_track(); // 600 - 16 - 5 - 5 - 170
    EXPECT_EQ(track, 404);
    bar.set_range(808);
    bar.set_position(404);
    EXPECT_EQ(bar.thumb(), 202);
    bar.set_range(-5);
    EXPECT_EQ(bar.range(), 1);
    bar.set_position(-5);
    EXPECT_EQ(bar.position(), 0);
    bar.set_range(808);
    bar.drag_by(1000);
    EXPECT_EQ(bar.thumb(), track);
    EXPECT_EQ(bar.position(), 808);
    bar.drag_by(-2000);
    EXPECT_EQ(bar.thumb(), 0);
    EXPECT_EQ(bar.position(), 0);
    EXPECT_TRUE(bar.hit_thumb(POINT{470, 100}));
    EXPECT_FALSE(bar.hit_thumb(POINT{470, 400}));
    EXPECT_FALSE(bar.hit_thumb(POINT{400, 100}));
}

} // namespace
