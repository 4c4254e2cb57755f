#include "support/test_content.h"

zor::content_state test_content::get_state() const {
    return zor::content_state(page, key, value1, value2, extra);
}

void test_content::draw(cl::ui::i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    ++draws;
    g.fill_rect(rect, colour);
    dirty = false;
}

void test_content::on_pen_down(const platform::POINT& p) {
    note("down " + std::to_string(p.x) + "," + std::to_string(p.y));
}

void test_content::note(const std::string& what) {
    if (journal)
        journal->push_back(what + " " + narrow(key));
}

namespace {
std::string joined(const zor::app::content_factory::params& p) {
    return narrow(p[0]) + "|" + narrow(p[1]) + "|" + narrow(p[2]);
}
} // namespace

void recording_factory::note(const std::string& what) {
    if (journal)
        journal->push_back(what);
}

recording_factory::content_list recording_factory::one(const std::string& call, const std::wstring& page,
                                                       const std::wstring& name) {
    note(call);
    content_list list;
    list.emplace_back(new test_content(page, name, journal));
    return list;
}

recording_factory::content_list recording_factory::main_contents(zor::app::page&) {
    note("main");
    content_list list;
    list.emplace_back(new test_content(L"home", L"Home", journal));
    list.emplace_back(new test_content(L"news", L"news", journal));
    auto weather = new test_content(L"weather", L"weather", journal);
    weather->colour = 0xDCC328;
    list.emplace_back(weather);
    list.emplace_back(new test_content(L"settings", L"Settings", journal));
    return list;
}

recording_factory::content_list recording_factory::headlines(zor::app::page&, const params& p) {
    note("headlines " + joined(p));
    content_list list;
    for (const auto& c : categories) {
        auto content = new test_content(L"headlines", c, journal);
        if (c == p[0]) {
            content->value1 = p[1];
            content->value2 = p[2];
        }
        list.emplace_back(content);
    }
    auto tipline = new test_content(L"tipline", L"Tip-Line", journal);
    tipline->colour = 0x0080FF;
    list.emplace_back(tipline);
    return list;
}

recording_factory::content_list recording_factory::articles(zor::app::page&, const params& p) {
    note("article " + joined(p));
    content_list list;
    for (const auto& id : headline_ids) {
        auto content = new test_content(L"article", p[0], journal);
        content->value1 = p[1];
        content->value2 = id;
        content->caption = L"Story " + id;
        list.emplace_back(content);
    }
    return list;
}

recording_factory::content_list recording_factory::attachment(zor::app::page&, const params& p) {
    return one("attach " + joined(p), L"attach", p[2]);
}

recording_factory::content_list recording_factory::continent_map(zor::app::page&, const std::wstring& code,
                                                                 const std::wstring& name) {
    return one("continent " + narrow(code) + "|" + narrow(name), L"continent_map_content", code);
}

recording_factory::content_list recording_factory::zone_map(zor::app::page&, const params& p) {
    return one("zone " + joined(p), L"zone_map_content", p[2]);
}

recording_factory::content_list recording_factory::video(zor::app::page&, const std::wstring& name,
                                                         const std::wstring& clip) {
    return one("video " + narrow(name) + "|" + narrow(clip), L"video_player", L"video");
}

recording_factory::content_list recording_factory::globe(zor::app::page&, int a, int b) {
    return one("globe " + std::to_string(a) + "," + std::to_string(b), L"globe", L"Globe");
}

recording_factory::content_list recording_factory::add_city(zor::app::page&, const std::wstring& search) {
    return one("add_city " + narrow(search), L"weather_item", L"add_city");
}

recording_factory::content_list recording_factory::detailed_weather(zor::app::page&, const std::wstring& city,
                                                                    const std::wstring& second) {
    return one("detailed " + narrow(city) + "|" + narrow(second), L"weather_item", city);
}

recording_factory::content_list recording_factory::city_list(zor::app::page&) {
    return one("city_list", L"weather_item", L"city_list");
}

recording_factory::content_list recording_factory::terms(zor::app::page&) {
    return one("terms", L"terms_condition", L"terms_condition");
}
