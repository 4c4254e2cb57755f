#include "app/content_manager.h"
#include "platform/window_system.h"
#include "support/page_fixture.h"
#include "support/test_content.h"
#include "ui/gdi_image.h"

#include <boost/ptr_container/exception.hpp>

namespace {

using platform::RECT;
using zor::content_manager;
using zor::content_state;

class strip : public page_fixture {
protected:
    // Three contents on a strip 240 pixels wide.
    void SetUp() override {
        page_fixture::SetUp();
        manager.switched.connect(utils::function1<void, int>([this](int i) { switches.push_back(i); }));
        manager.request.connect(
            utils::function1<void, content_state>([this](content_state s) { requests.push_back(s); }));
        manager.back.connect(utils::function0<void>([this] { ++backs; }));
        for (auto named : {std::make_pair(L"A", 0x0000FF), {L"B", 0x00FF00}, {L"C", 0xFF0000}}) {
            contents.push_back(new test_content(L"headlines", named.first, &journal));
            contents.back()->colour = named.second;
            manager.add(-1, contents.back());
        }
        manager.set_rect(area);
        manager.layout();
    }
    double target() const { return manager.slide().value(1); }
    double shown() const { return manager.slide().value(0); }

    const RECT area{0, 100, 240, 400};
    content_manager manager;
    std::vector<test_content*> contents;
    std::vector<int> switches;
    std::vector<content_state> requests;
    int backs = 0;
};

TEST_F(strip, switches_to_neighbours_and_settles_back_at_both_ends) {
    EXPECT_EQ(manager.switch_to(zor::i_switchable::next, -1), 1);
    EXPECT_EQ(journal, (std::vector<std::string>{"deactivate A", "activate B"}));
    EXPECT_EQ(target(), 240);
    EXPECT_EQ(shown(), 0); // slides, does not jump
    EXPECT_EQ(contents[1]->get_rect(), area);

    EXPECT_EQ(manager.switch_to(zor::i_switchable::previous, -1), 0);
    journal.clear();
    // At the first content "previous" settles back: switched, but no activation.
    EXPECT_EQ(manager.switch_to(zor::i_switchable::previous, -1), 0);
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(target(), 0);

    manager.switch_to(zor::i_switchable::jump, 2);
    journal.clear();
    EXPECT_EQ(shown(), 480); // a jump places the strip at once
    EXPECT_EQ(manager.switch_to(zor::i_switchable::next, -1), 2);
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(manager.switch_to(zor::i_switchable::settle, -1), 2);
    EXPECT_EQ(switches, (std::vector<int>{1, 0, 0, 2, 2, 2}));

    // A jump out of range only re-aims at the current content.
    manager.drag_x(30);
    EXPECT_EQ(target(), 450);
    EXPECT_EQ(manager.switch_to(zor::i_switchable::jump, 5), 2);
    EXPECT_EQ(manager.switch_to(zor::i_switchable::jump, -1), 2);
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(target(), 480);
}

TEST_F(strip, drags_follow_the_finger_but_never_beyond_the_first_or_last_content_and_maps_keep_them) {
    // Right on the first content there is nothing before it; the last content starts at 480.
    for (auto step :
         {std::pair<int, int>{10, 0}, {-100, 100}, {-381, 100}, {-380, 480}, {-1, 480}, {480, 0}}) {
        manager.drag_x(step.first);
        EXPECT_EQ(target(), step.second) << step.first;
    }
    manager.drag_y(-12);
    EXPECT_EQ(journal, (std::vector<std::string>{"scroll -12 A"}));

    journal.clear();
    for (const wchar_t* kind : {L"continent_map_content", L"zone_map_content"}) {
        contents[0]->page = kind;
        switches.clear();
        EXPECT_EQ(manager.switch_to(zor::i_switchable::next, -1), 0);
        EXPECT_EQ(manager.switch_to(zor::i_switchable::jump, 2), 0);
        EXPECT_TRUE(switches.empty());
        EXPECT_TRUE(journal.empty());
    }
}

TEST_F(strip, requests_reach_the_page_one_frame_later_and_the_last_one_wins) {
    contents[0]->request(content_state(L"headlines", L"A", L"", L"first"));
    contents[0]->request(content_state(L"headlines", L"A", L"", L"second"));
    contents[0]->back();
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(backs, 0);
    manager.update(1000);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].params[2], L"second");
    EXPECT_EQ(backs, 1);
    manager.update(1025);
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_EQ(backs, 1);

    int relayouts = 0;
    manager.layout_changed.connect(utils::function0<void>([&] { ++relayouts; }));
    contents[2]->layout_changed();
    EXPECT_EQ(relayouts, 1); // at once
}

TEST_F(strip, the_slide_moves_at_constant_speed_and_draws_the_two_contents_visible_on_the_way) {
    manager.update(1000);
    manager.switch_to(zor::i_switchable::next, -1);
    manager.update(1025);
    EXPECT_DOUBLE_EQ(manager.slide().linear_position(), 120);
    EXPECT_NEAR(shown(), 0.18 * 120, 1e-9); // the shown value lags behind: 21 pixels of B
    clear(0);
    manager.draw(*g, false);
    const int p = static_cast<int>(shown());
    EXPECT_EQ(pixel(0, 200), ui_impl::to_rgb565(0x0000FF));
    EXPECT_EQ(pixel(area.right - p - 1, 200), ui_impl::to_rgb565(0x0000FF));
    EXPECT_EQ(pixel(area.right - p + 1, 200), ui_impl::to_rgb565(0x00FF00));
    EXPECT_EQ(contents[2]->draws, 0);
    EXPECT_EQ(changed_outside(RECT{-p, area.top, area.right + 240, area.bottom}, 0), 0);

    manager.update(1050);
    EXPECT_DOUBLE_EQ(manager.slide().linear_position(), 240);
    EXPECT_LT(shown(), 240);
    for (int t = 1075; t < 3000; t += 25)
        manager.update(t);
    EXPECT_EQ(shown(), 240);
    // Nothing is drawn when nothing changed.
    manager.draw(*g, false);
    const int drawn = contents[1]->draws;
    manager.update(3000);
    manager.draw(*g, false);
    EXPECT_EQ(contents[1]->draws, drawn);
}

TEST_F(strip, shows_the_wait_icon_until_data_and_the_fixed_text_when_loading_failed) {
    const std::uint16_t own = ui_impl::to_rgb565(0x0000FF);
    contents[0]->loaded = false;
    manager.update(1000);
    clear(0);
    manager.draw(*g, true);
    EXPECT_EQ(contents[0]->draws, 0);
    EXPECT_EQ(pixel(5, 300), ui_impl::to_rgb565(0xDADADA));
    EXPECT_LT(count(RECT{area.left, 250, area.right, 251}, ui_impl::to_rgb565(0xDADADA)),
              240 - 40); // the icon

    contents[0]->failed = true;
    manager.update(1025);
    manager.draw(*g, true);
    const RECT text{area.left + 20, area.top + 20, area.right - 20, area.top + 80};
    EXPECT_GT(count(text, 0xFFFF), 50);
    // The white text stands on a dark plate, not on the light page, so that it can be read.
    const std::uint16_t ground = pixel(text.left - 4, text.top + 4);
    const int luminance = ((ground >> 11) * 255 / 31 * 30 + ((ground >> 5) & 0x3F) * 255 / 63 * 59 +
                           (ground & 0x1F) * 255 / 31 * 11) /
                          100;
    EXPECT_LT(luminance, 100);
    EXPECT_GT(count(text, ground), count(text, 0xFFFF));

    // Loaded but the page is not ready yet (its pictures are still being decoded).
    contents[0]->loaded = true;
    contents[0]->failed = false;
    manager.set_ready(false);
    manager.update(1050);
    manager.draw(*g, true);
    EXPECT_EQ(contents[0]->draws, 0);
    EXPECT_EQ(contents[0]->updates, 2);
    manager.set_ready(true);
    manager.update(1075);
    manager.draw(*g, true);
    EXPECT_EQ(pixel(20, 300), own);
}

TEST_F(strip, the_turning_wait_icon_is_presented_as_an_ornament_but_a_failure_and_the_data_are_news) {
    auto surface = platform::get_window_surface(window.get_hwnd());
    auto frame = [&](unsigned long now) {
        manager.update(now);
        manager.draw(*g, false);
        g->end_frame(true);
    };
    contents[0]->loaded = false;
    contents[0]->dirty = true; // and stays so, as it is not drawn
    frame(1000);               // the first picture of the strip
    const std::uint64_t first = surface->content_changes();
    for (unsigned long now = 1025; now <= 1200; now += 25) {
        manager.update(now);
        ASSERT_TRUE(manager.is_dirty()); // the icon turns
        EXPECT_FALSE(manager.has_news());
        manager.draw(*g, false);
        g->end_frame(true);
    }
    EXPECT_EQ(surface->content_changes(), first);
    contents[0]->failed = true;
    frame(1225);
    EXPECT_EQ(surface->content_changes(), first + 1);
    contents[0]->failed = false;
    contents[0]->loaded = true;
    frame(1250);
    EXPECT_EQ(surface->content_changes(), first + 2);
    contents[0]->dirty = false;
    frame(1275); // nothing moves any more
    EXPECT_FALSE(manager.is_dirty());
    EXPECT_EQ(surface->content_changes(), first + 2);
}

TEST_F(strip, clear_deactivates_the_current_content_and_null_contents_are_refused) {
    manager.switch_to(zor::i_switchable::jump, 1);
    journal.clear();
    manager.clear();
    EXPECT_EQ(journal, (std::vector<std::string>{"deactivate B"}));
    EXPECT_EQ(manager.size(), 0);
    EXPECT_EQ(manager.current_content(), nullptr);
    EXPECT_EQ(shown(), 0);
    EXPECT_THROW(manager.add(-1, nullptr), boost::bad_pointer);
    manager.add(-1, new test_content(L"x", L"X"));
    manager.add(0, new test_content(L"x", L"W"));
    EXPECT_EQ(manager.find(L"W"), 0);
    EXPECT_EQ(manager.find(L"X"), 1);
    EXPECT_EQ(manager.find(L"Y"), -1);
}

TEST_F(strip, the_opening_animation_splits_the_old_picture_and_reports_its_end) {
    int opened = 0;
    manager.opened.connect(utils::function0<void>([&] { ++opened; }));
    clear(ui_impl::to_rgb565(0x808080));
    manager.request_opening();
    manager.update(1000);
    manager.draw(*g, false);
    EXPECT_TRUE(manager.opening_view().is_running());
    // The halves of the old picture still cover the new contents.
    EXPECT_EQ(pixel(10, 200), ui_impl::to_rgb565(0x808080));
    unsigned long t = 1000;
    while (manager.opening_view().is_running() && t < 5000) {
        t += 25;
        manager.update(t);
        manager.draw(*g, false);
    }
    EXPECT_EQ(opened, 1);
    // 120 pixels from the middle to each side at 0.3 pixels per millisecond.
    EXPECT_NEAR(static_cast<double>(t - 1000), 400, 30);
    EXPECT_EQ(pixel(10, 200), ui_impl::to_rgb565(0x0000FF));
}

// A strip larger than the back buffer (a size not yet caught up with) cannot be copied for the doors: the
// page opens at once and its content is drawn in that same frame.
TEST_F(strip, an_opening_whose_picture_cannot_be_taken_shows_the_content_at_once) {
    manager.set_rect(RECT{0, 100, 900, 400});
    manager.layout();
    manager.request_opening();
    manager.update(1000);
    EXPECT_NO_THROW(manager.draw(*g, false));
    EXPECT_FALSE(manager.opening_view().is_running());
    EXPECT_EQ(pixel(10, 200), ui_impl::to_rgb565(0x0000FF));
}

class drawn : public page_fixture {};

TEST_F(drawn, a_content_error_view_places_icon_and_texts_by_the_shape_of_its_rectangle) {
    test_content wide(L"x", L"X");
    wide.set_rect(RECT{0, 100, 800, 400});
    wide.show_error();
    EXPECT_TRUE(wide.has_error());
    EXPECT_EQ(wide.error_icon_box(), (RECT{20, 120, 88, 182}));
    EXPECT_EQ(wide.error_text_rect(0), (RECT{108, 120, 795, 150}));
    EXPECT_EQ(wide.error_text_rect(1), (RECT{108, 150, 795, 180}));

    test_content tall(L"x", L"Y");
    tall.set_rect(RECT{0, 100, 480, 700});
    tall.show_error();
    EXPECT_EQ(tall.error_icon_box(), (RECT{206, 120, 274, 182}));
    EXPECT_EQ(tall.error_text_rect(0), (RECT{20, 182, 475, 212}));
    EXPECT_EQ(tall.error_text_rect(1), (RECT{20, 212, 475, 242}));

    clear(0);
    tall.draw_error(*g);
    EXPECT_EQ(pixel(5, 650), ui_impl::to_rgb565(0xC0C0C0));
    EXPECT_GT(count(RECT{20, 182, 475, 242}, 0), 100);        // the two lines of text
    EXPECT_NE(pixel(240, 150), ui_impl::to_rgb565(0xC0C0C0)); // the warning sign
    tall.hide_error();
    EXPECT_FALSE(tall.has_error());
}

} // namespace
