// The continent and zone maps against small region and zone documents and generated pictures served on
// loopback, filled by the loading thread while the contents are ticked with frame times.
#include "chrome/command_bar.h"
#include "model/config.h"
#include "model/model.h"
#include "model/options.h"
#include "model/weather/manager.h"
#include "model/weather/weather_day_text.h"
#include "pages/maps/continent_map_content.h"
#include "pages/maps/label_layout.h"
#include "pages/maps/zone_map_content.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "support/picture_maker.h"
#include "support/served_fixture.h"
#include "ui/graphics.h"
#include "ui/resources.h"
#include "ui/static_fonts.h"

#include <memory>
#include <random>

namespace {

using platform::POINT;
using platform::RECT;
using zor::content_state;
using ev = cl::app::event;

const RECT portrait{0, 106, 480, 658};

// Red on the left half, blue on the right, so a probe tells which part of the picture is shown.
std::string halves(int w, int h) {
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(w) * h * 4);
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        const bool left = static_cast<int>(i / 4 % w) < w / 2;
        rgba[i] = left ? 255 : 0;
        rgba[i + 2] = left ? 0 : 255;
        rgba[i + 3] = 255;
    }
    const auto png = encode_png(w, h, rgba);
    return std::string(png.begin(), png.end());
}

std::string zone_attributes(const std::string& id, const std::string& lat, const std::string& lon,
                            const std::string& distance) {
    return "<map id=\"" + id + "\" centerlat=\"" + lat + "\" centerlon=\"" + lon +
           "\" aspectratio=\"1.25\" distance=\"" + distance + "\"";
}

std::string city(const std::string& id, const std::string& name, double lat, double lon,
                 const std::string& t) {
    return "<city latitude=\"" + std::to_string(lat) + "\" longitude=\"" + std::to_string(lon) +
           "\" temperature=\"" + t + "\" name=\"" + name + "\" id=\"" + id + "\"/>";
}

POINT centre(const RECT& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class maps : public served_fixture {
protected:
    void SetUp() override {
        served_fixture::SetUp();
        // Europe is centred on 49.32 N 15.23 E, 5786.7 km across. Zones of 1200 km: the middle one, one 10
        // degrees east, one 10 west, one 6 north, and two whose numbers place nothing.
        server.add_route("/zorwmaps?pmap=2",
                         "<mapinfo>" + zone_attributes("mid", "49.32", "15.23", "1200") + "/>" +
                             zone_attributes("east", "49.32", "25.23", "1200") + "/>" +
                             zone_attributes("west", "49.32", "5.23", "1200") + "/>" +
                             zone_attributes("north", "55.32", "15.23", "1200") +
                             " name=\"Northern Europe\"/>" + zone_attributes("flat", "49.32", "15.23", "0") +
                             "/>" + zone_attributes("lost", "nan", "15.23", "1200") + "/></mapinfo>");
        server.add_route("/mapdata/Mobile_Europe.jpeg", halves(800, 640));
        server.add_route("/mapdata/zones/mid.png", halves(640, 512));
        start(weather_here());
        opts = &zor::options::load_from(folder.wpath());
        opts->cities().clear();
        opts->order().clear();
    }
    void zone_document(const std::string& attributes, const std::vector<std::string>& cities) {
        std::string d = "<mapinfo>" + attributes + " filename=\"/mapdata/zones/mid.png\">";
        for (const auto& c : cities)
            d += c;
        server.add_route("/zorwmaps?mapid=mid", d + "</map></mapinfo>");
    }
    // Until the map stops gliding.
    void settle(zor::map_content& c) {
        tick_until(
            c, now, [&] { return c.offset_x(0) == c.offset_x(1) && c.offset_y(0) == c.offset_y(1); }, 3000);
    }
    void open(zor::map_content& c, const RECT& r = portrait) {
        listen(c);
        c.set_rect(r);
        ASSERT_TRUE(frames_until(c, [&] { return c.is_loaded() || c.is_failed(); }));
        ASSERT_TRUE(c.is_loaded());
        c.draw(*g, true);
    }
    void key(zor::map_content& c, int k) { c.process_event(ev(ev::key_down, k, 0, 0)); }
    void pen(zor::map_content& c, int type, POINT p) { c.process_event(ev(type, 0, p.x, p.y)); }
    // Pressed at p, released dx, dy away.
    void tap(zor::map_content& c, POINT p, int dx = 0, int dy = 0) {
        pen(c, ev::pen_down, p);
        pen(c, ev::pen_up, POINT{p.x + dx, p.y + dy});
    }
    // Where a point of the picture is on screen now.
    POINT on_screen(const zor::map_content& c, POINT p) {
        return POINT{c.view().left + p.x - static_cast<int>(c.offset_x(0)),
                     c.view().top + p.y - static_cast<int>(c.offset_y(0))};
    }
    std::size_t zone_index(const zor::continent_map_content& m, const std::wstring& key) {
        for (std::size_t i = 0; i < m.zone_list().size(); ++i)
            if (m.zone_list()[i].key == key)
                return i;
        return zor::map_content::no_focus;
    }

    zor::ui::command_bar commands;
    zor::options* opts = nullptr;
};

TEST_F(maps, a_continent_places_its_zones_by_their_centre_and_extent_and_leaves_out_broken_ones) {
    zor::continent_map_content m(L"2", L"Europe");
    open(m);
    std::vector<std::wstring> keys;
    for (const auto& z : m.zone_list())
        keys.push_back(z.key);
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"mid", L"east", L"west", L"north"}));
    // 1200 of 5786.7 km on an 800-pixel picture: 165 pixels across, 133 down (the picture is 1.25 wide).
    EXPECT_EQ(m.zone_list()[0].rect, (RECT{318, 254, 482, 386}));
    // 10 degrees of longitude at 49.32 N are about 725 km, 100 pixels; 6 degrees north about 74 pixels up.
    const POINT east = centre(m.zone_list()[1].rect), west = centre(m.zone_list()[2].rect);
    const POINT north = centre(m.zone_list()[3].rect);
    EXPECT_NEAR(east.x, 500, 2);
    EXPECT_EQ(east.y, 320);
    EXPECT_EQ(west.x, 800 - east.x);
    EXPECT_EQ(north.x, 400);
    EXPECT_NEAR(north.y, 320 - 74, 2);
    EXPECT_EQ(m.get_state(), content_state(L"continent_map_content", L"2", L"Europe"));

    // The map opens on its middle; the picture's halves meet at picture x 400, with the first zone framed.
    EXPECT_EQ(m.offset_x(0), 160);
    EXPECT_EQ(m.offset_y(0), 44);
    EXPECT_EQ(m.focus(), 0u);
    const int y = portrait.top + 40;
    EXPECT_EQ(pixel(239, y), 0xF800);
    EXPECT_EQ(pixel(240, y), 0x001F);
    const POINT corner = on_screen(m, POINT{318, 254});
    EXPECT_EQ(pixel(corner.x, corner.y + 10), 0xFFFF);
}

TEST_F(maps, a_named_zone_is_labelled_in_its_corner_and_no_label_but_the_focused_one_shows_cut) {
    zor::continent_map_content m(L"2", L"Europe");
    open(m, RECT{0, 106, 800, 406}); // landscape: the view can go down to the label
    ASSERT_FALSE(m.labels_pending());
    const std::size_t north = zone_index(m, L"north");
    const auto& z = m.zone_list()[north];
    ASSERT_TRUE(z.label.shown);
    EXPECT_EQ(z.label.box.left, z.rect.left + 4);
    EXPECT_EQ(z.label.box.top, z.rect.top + 4);
    EXPECT_FALSE(m.zone_list()[zone_index(m, L"mid")].label.shown); // no name, no label
    // Clear of the arrows, the label's padding is white on the red and blue picture.
    m.pan(0, -100);
    settle(m);
    m.draw(*g, true);
    const POINT inside = on_screen(m, POINT{z.label.box.left + 2, z.label.box.top + 2});
    EXPECT_EQ(pixel(inside.x, inside.y), 0xFFFF);

    // Panned until the label crosses the view's top: not drawn, until it is the focused zone's.
    m.pan(0, z.label.box.top + 10 - static_cast<int>(m.offset_y(1)));
    settle(m);
    m.draw(*g, true);
    const POINT cut = on_screen(m, POINT{z.label.box.left + 2, z.label.box.bottom - 2});
    ASSERT_GE(cut.y, m.view().top);
    EXPECT_EQ(pixel(cut.x, cut.y), 0xF800);
    const std::size_t was = m.focus();
    for (int k = 0; k < 4 && m.focus() != north; ++k)
        key(m, platform::VK_UP);
    ASSERT_EQ(m.focus(), north) << "from " << was;
    m.pan(0, z.label.box.top + 10 - static_cast<int>(m.offset_y(1)));
    settle(m);
    m.draw(*g, true);
    EXPECT_EQ(pixel(cut.x, cut.y), ui_impl::to_rgb565(zor::continent_map_content::focused_colour));
}

TEST_F(maps, arrow_keys_move_the_focus_by_direction_and_bring_the_zone_to_the_middle) {
    zor::continent_map_content m(L"2", L"Europe");
    open(m);
    key(m, platform::VK_RIGHT);
    EXPECT_EQ(m.focus(), zone_index(m, L"east"));
    // The view's middle goes to the zone's middle.
    EXPECT_EQ(m.offset_x(1), centre(m.zone_list()[m.focus()].rect).x - 240);
    EXPECT_EQ(m.offset_y(1), 44);
    EXPECT_EQ(m.idle_frames(), 0);
    // Nothing lies further right, even in the widest cone; north is 100 pixels right of west and 74 up, so
    // only the wider cone finds it.
    const std::pair<int, const wchar_t*> steps[] = {{platform::VK_RIGHT, L"east"},
                                                    {platform::VK_LEFT, L"mid"},
                                                    {platform::VK_LEFT, L"west"},
                                                    {platform::VK_UP, L"north"},
                                                    {platform::VK_DOWN, L"mid"}};
    for (const auto& [k, zone] : steps) {
        key(m, k);
        EXPECT_EQ(m.focus(), zone_index(m, zone)) << zone;
    }
    // Enter opens the focused zone.
    key(m, platform::VK_RETURN);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], content_state(L"continent_map_content", L"2", L"Europe", L"mid"));
}

TEST_F(maps, a_tap_focuses_a_zone_a_second_opens_it_and_drags_pan_without_tapping) {
    zor::continent_map_content m(L"2", L"Europe");
    open(m);
    settle(m);
    // North's top lies outside the middle zone; a release 15 pixels away still taps.
    POINT p = on_screen(m, POINT{400, 200});
    tap(m, p, 15);
    EXPECT_EQ(m.focus(), zone_index(m, L"north"));
    EXPECT_TRUE(asked.empty());
    tap(m, p);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], content_state(L"continent_map_content", L"2", L"Europe", L"north"));

    // A release 16 pixels away is no tap.
    p = on_screen(m, POINT{400, 320});
    tap(m, p, 0, 16);
    EXPECT_EQ(m.focus(), zone_index(m, L"north"));

    // 8 pixels do not pan, 9 do, and the map follows the pen from there.
    const double x0 = m.offset_x(1);
    pen(m, ev::pen_down, p);
    for (int dx : {8, 9, 12}) {
        pen(m, ev::pen_move, POINT{p.x + dx, p.y});
        EXPECT_EQ(m.offset_x(1), dx < 9 ? x0 : x0 - dx) << dx;
    }
    // The page hands the press over once more before the release: still a pan, not a tap on the middle.
    tap(m, p, 12);
    EXPECT_EQ(m.focus(), zone_index(m, L"north"));
    EXPECT_EQ(asked.size(), 1u);
}

TEST_F(maps, the_view_never_leaves_the_picture_and_the_arrows_show_where_more_map_lies) {
    zor::continent_map_content m(L"2", L"Europe");
    open(m);
    m.pan(10000, 10000);
    EXPECT_EQ(m.offset_x(1), 800 - 480);
    EXPECT_EQ(m.offset_y(1), 640 - 552);
    settle(m);
    EXPECT_TRUE(m.arrow_shown(zor::map_content::left));
    EXPECT_TRUE(m.arrow_shown(zor::map_content::up));
    EXPECT_FALSE(m.arrow_shown(zor::map_content::right));
    EXPECT_FALSE(m.arrow_shown(zor::map_content::down));
    m.draw(*g, true);
    // Only the blue half is in view at the right edge.
    EXPECT_EQ(pixel(100, portrait.top + 350), 0x001F);

    m.pan(-10000, -10000);
    EXPECT_EQ(m.offset_x(1), 0);
    EXPECT_EQ(m.offset_y(1), 0);
    settle(m);
    EXPECT_FALSE(m.arrow_shown(zor::map_content::left));
    EXPECT_TRUE(m.arrow_shown(zor::map_content::right));
    EXPECT_TRUE(m.arrow_shown(zor::map_content::down));
    // Arrows sit 20 pixels inside the content.
    EXPECT_EQ(m.arrow_position(zor::map_content::left).x, 20);
    EXPECT_EQ(m.arrow_position(zor::map_content::up).y, portrait.top + 20);

    // A turn to a view as wide as the picture and lower keeps the offsets inside the picture.
    m.pan(10000, 10000);
    m.set_rect(RECT{0, 80, 800, 400});
    EXPECT_EQ(m.offset_x(1), 0);
    EXPECT_EQ(m.offset_y(1), 88);
    m.pan(30, 10000);
    EXPECT_EQ(m.offset_x(1), 0);
    EXPECT_EQ(m.offset_y(1), 640 - 320);
}

TEST_F(maps, labels_never_overlap_and_one_pushed_off_the_map_is_hidden) {
    // Dense random clusters: a label pushed off one neighbour onto another must move on.
    std::mt19937 random(7);
    const RECT area{0, 0, 640, 512};
    for (int round = 0; round < 100; ++round) {
        std::vector<zor::map_label> labels(25);
        std::uniform_int_distribution<int> x(200, 440), y(150, 350), w(40, 120);
        for (auto& l : labels)
            l = zor::map_label{POINT{x(random), y(random)}, 50, w(random), RECT{}};
        zor::place_labels(labels, area);
        for (std::size_t i = 0; i < labels.size(); ++i) {
            if (!labels[i].shown)
                continue;
            const RECT& b = labels[i].box;
            ASSERT_TRUE(b.left >= 0 && b.top >= 0 && b.right <= 640 && b.bottom <= 512) << round;
            for (std::size_t j = i + 1; j < labels.size(); ++j)
                ASSERT_FALSE(labels[j].shown && zor::overlap(b, labels[j].box))
                    << round << " " << i << " " << j;
        }
    }
    // Two labels on one spot in the bottom right corner: the second has no room right or below.
    std::vector<zor::map_label> corner(2, zor::map_label{POINT{630, 505}, 50, 60, RECT{}});
    zor::place_labels(corner, area);
    EXPECT_EQ(corner[0].box, (RECT{530, 490, 640, 512}));
    EXPECT_TRUE(corner[0].shown);
    EXPECT_FALSE(corner[1].shown);
}

TEST_F(maps, zone_temperatures_round_like_the_forecasts_and_wide_ones_keep_their_whole_box) {
    zone_document(zone_attributes("mid", "50", "10", "1000"),
                  {city("c1", "Cold", 50, 10, "-25"), city("c2", "Colder", 52, 12, "-24"),
                   city("c3", "Mild", 48, 8, "7")});
    opts->flag(L"1.1") = true;
    zor::zone_map_content z({L"2", L"Europe", L"mid"}, opts, &commands);
    open(z, RECT{0, 0, 800, 600});
    ASSERT_EQ(z.city_list().size(), 3u);
    const auto& c = z.city_list();
    // -13 F, -11.2 F and 44.6 F: to the nearest degree, as the forecast texts show them.
    const std::pair<int, const wchar_t*> expected[] = {{-25, L"-13 F"}, {-24, L"-11 F"}, {7, L"45 F"}};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& [celsius, text] = expected[i];
        EXPECT_EQ(c[i].temperature, text);
        EXPECT_EQ(c[i].temperature,
                  zor::weather_day_text(true, L"2026-12-06", L"", L"", L"13", 0, 0, celsius, 0, 0)
                      .t_min_text(true));
        EXPECT_GE(c[i].label.temperature_width, g->text_width(c[i].temperature, cl::ui::fonts::tahoma_22));
    }
}

// The region's document may arrive between a frame's update and the content manager's question: the zone is
// looked up at the next update, and the map does not read as unavailable meanwhile. A zone map is titled with
// the name its region gives the zone, else with the region.
TEST_F(maps, a_zone_map_is_not_failed_while_its_freshly_loaded_region_waits_and_is_titled_from_it) {
    zone_document(zone_attributes("mid", "50", "10", "1000"), {city("c1", "Cold", 50, 10, "-25")});
    EXPECT_EQ(zor::zone_map_content({L"2", L"Europe", L"north"}, opts, &commands).title(), L"Europe");
    zor::zone_map_content z({L"2", L"Europe", L"mid"}, opts, &commands);
    z.set_rect(portrait);
    z.update(now);
    weather::region_ptr region;
    for (const auto& r : zor::model::weather_manager()->regions())
        if (r->id() == L"2")
            region = r;
    ASSERT_TRUE(region);
    ASSERT_TRUE(
        eventually([&] { return region->is_loaded() && !region->is_queued(); }, std::chrono::seconds(20)));
    EXPECT_FALSE(z.is_failed());
    EXPECT_FALSE(z.is_loaded());
    ASSERT_TRUE(frames_until(z, [&] { return z.is_loaded() || z.is_failed(); }));
    EXPECT_TRUE(z.is_loaded());
    EXPECT_EQ(z.title(), L"Europe");
    EXPECT_EQ(zor::zone_map_content({L"2", L"Europe", L"north"}, opts, &commands).title(),
              L"Northern Europe");
}

TEST_F(maps, a_zone_map_projects_its_cities_labels_them_and_adds_the_focused_one_once) {
    zone_document(zone_attributes("mid", "50", "10", "1000"),
                  {city("c1", "Middle", 50, 10, "12"), city("c2", "North", 51, 10, "-3"),
                   city("far", "Pole", 85, 10, "-30"), city("c3", "Beside", 50, 10.01, "n/a")});
    opts->cities()[L"c2"] = L"North";
    opts->order().push_back(L"c2");
    {
        zor::zone_map_content z({L"2", L"Europe", L"mid"}, opts, &commands);
        EXPECT_TRUE(z.labels_pending());
        open(z, RECT{0, 0, 800, 600});
        EXPECT_EQ(z.get_state(), content_state(L"zone_map_content", L"2", L"Europe", L"mid"));
        // The 640 x 512 picture is centred in the wider view.
        EXPECT_EQ(z.view(), (RECT{80, 44, 720, 556}));
        ASSERT_EQ(z.city_list().size(), 3u);
        const auto& c = z.city_list();
        // One degree north on a 1000-km map 640 pixels wide: 56 pixels up; the centre city sits mid-picture.
        EXPECT_EQ(c[0].label.anchor.x, 320);
        EXPECT_EQ(c[0].label.anchor.y, 256);
        EXPECT_EQ(c[1].temperature, L"-3 C");
        EXPECT_EQ(c[2].temperature, L"n/a");
        EXPECT_FALSE(z.labels_pending());
        EXPECT_EQ(c[1].label.anchor.x, 320);
        EXPECT_EQ(c[1].label.anchor.y, 256 - 56);
        EXPECT_FALSE(zor::overlap(c[0].label.box, c[2].label.box));
        // Each label: a red temperature box, then a white name box.
        const RECT b = c[1].label.box;
        EXPECT_EQ(pixel(80 + b.left + 1, 44 + b.top + 1), 0xC841);
        EXPECT_EQ(pixel(80 + b.right - 2, 44 + b.top + 1), 0xFFFF);

        // The first city is not the user's: "Add city" stores it once, and writes the file at once.
        EXPECT_EQ(z.focus(), 0u);
        EXPECT_EQ(commands.left_label(), L"Add city");
        commands.process_event(ev(ev::key_down, zor::ui::command_bar::soft_key_left, 0, 0));
        EXPECT_EQ(commands.left_label(), L"");
        z.on_command(L"Add city");
        // Focus on a city the user has: no command.
        key(z, platform::VK_UP);
        EXPECT_EQ(z.focus(), 1u);
        EXPECT_EQ(commands.left_label(), L"");
        // A second tap on the focused label opens its forecast.
        tap(z, on_screen(z, centre(z.city_list()[1].label.box)));
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].page, L"zone_map_content");
        EXPECT_EQ(asked[0].params, (std::vector<std::wstring>{L"c2", L"North"}));
    }
    zor::options& saved = zor::options::load_from(folder.wpath());
    EXPECT_EQ(saved.cities()[L"c1"], L"Middle");
    EXPECT_EQ(std::count(saved.order().begin(), saved.order().end(), L"c1"), 1);
    EXPECT_EQ(saved.order().size(), 2u);
}

TEST_F(maps, a_map_whose_document_or_picture_fails_shows_the_failure_and_takes_input_safely) {
    auto poke = [&](const char* what, std::unique_ptr<zor::map_content> m) {
        SCOPED_TRACE(what);
        EXPECT_FALSE(m->is_failed());
        m->set_rect(portrait);
        EXPECT_TRUE(frames_until(*m, [&] { return m->is_failed(); }));
        EXPECT_FALSE(m->is_loaded());
        m->draw(*g, true);
        key(*m, platform::VK_RETURN);
        key(*m, platform::VK_LEFT);
        pen(*m, ev::pen_down, POINT{100, 200});
        pen(*m, ev::pen_move, POINT{150, 200});
        pen(*m, ev::pen_up, POINT{150, 200});
    };
    using continent = zor::continent_map_content;
    const auto zone = [&](const wchar_t* id) {
        return std::make_unique<zor::zone_map_content>(std::vector<std::wstring>{L"2", L"Europe", id}, opts,
                                                       &commands);
    };
    poke("unknown continent", std::make_unique<continent>(L"99", L"Nowhere"));
    poke("continent without a document", std::make_unique<continent>(L"3", L"South America"));
    server.add_route("/mapdata/Mobile_Europe.jpeg", "not a picture");
    poke("broken picture", std::make_unique<continent>(L"2", L"Europe"));
    server.add_route("/mapdata/Mobile_Europe.jpeg", halves(800, 640));
    poke("unknown zone", zone(L"atlantis"));
    server.add_route("/zorwmaps?mapid=mid", "<mapinfo><map centerlat=\"50\"");
    poke("broken zone document", zone(L"mid"));

    // A zone without a distance, or with one so small that every city lies beyond any pixel, shows its
    // picture and no cities.
    for (const char* distance : {"0", "1e-300", "inf"}) {
        SCOPED_TRACE(distance);
        zone_document(zone_attributes("mid", "50", "10", distance), {city("c1", "Middle", 50.5, 10.5, "12")});
        auto z = zone(L"mid");
        open(*z);
        EXPECT_TRUE(z->city_list().empty());
        EXPECT_EQ(commands.left_label(), L"");
    }
}

} // namespace
