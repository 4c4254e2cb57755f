#include "model/weather/loaders.h"

#include "model/config.h"
#include "net/document_fetch.h"
#include "net/url.h"
#include "platform/clock.h"
#include "utils/document_text.h"
#include "utils/errors.h"

#include <cstdlib>
#include <ctime>
#include <cwchar>
#include <tinyxml2.h>

namespace weather_impl {

namespace {

[[noreturn]] void invalid() {
    utils::throw_error(std::runtime_error("Invalid XML document"));
}

// Ids and queries are encoded, so a blank, an '&' or a non-ASCII letter still makes a valid request.
std::wstring path_of(const std::wstring& prefix, const std::wstring& value) {
    return prefix + cl::http::encode_query_value(value);
}

// Loads the document into the target, which learns whether a held copy stood in for the network's.
template <class Target, class Read>
void load_into(Target& target, const std::wstring& path, Read read) {
    target.set_copy_time(cl::http::load_document(weather_host(), path, read));
}

void parse(tinyxml2::XMLDocument& doc, const char* document, bool strict) {
    if (!document || doc.Parse(document) != tinyxml2::XML_SUCCESS) {
        if (strict)
            utils::throw_error(std::runtime_error("not valid xml - can't parse"));
        invalid();
    }
}

const char* required(const tinyxml2::XMLElement* e, const char* name) {
    const char* v = e->Attribute(name);
    if (!v)
        invalid();
    return v;
}

std::wstring text_of(const char* v) {
    return utils::widen_document_text(v);
}

// Reads into a list of its own, off the target's lock, and hands the list over in one step; a document
// that fails half-way still hands over what was read before the failure.
template <class T, class Read, class Publish>
void read_then_publish(Read read, Publish publish) {
    std::vector<T> items;
    try {
        read(items);
    } catch (...) {
        publish(std::move(items));
        throw;
    }
    publish(std::move(items));
}

weather::day_ptr read_day(const tinyxml2::XMLElement* d) {
    const char* fields[9];
    static const char* const names[9] = {"date",   "precipitationdesc", "skydescription", "tmin",
                                         "tmax",   "windspeed",         "icon",           "airquality",
                                         "uvindex"};
    for (int i = 0; i < 9; ++i) {
        const tinyxml2::XMLElement* e = d->FirstChildElement(names[i]);
        if (!e)
            invalid();
        fields[i] = e->GetText() ? e->GetText() : "";
    }
    return weather::day_ptr(new forecast_day_impl(text_of(fields[0]), text_of(fields[1]), text_of(fields[2]),
                                                  std::atoi(fields[3]), std::atoi(fields[4]),
                                                  std::atof(fields[5]), text_of(fields[6]),
                                                  std::atoi(fields[7]), std::atoi(fields[8])));
}

} // namespace

std::wstring weather_host() {
    return zor::config::available() ? zor::config::instance().weather_host() : L"";
}

void http_region_loader::load() {
    load_into(*target, path_of(L"/zorwmaps?pmap=", target->id()),
              [&](const char* document, cl::http::copy_time) { read_region(*target, document); });
}

void read_region(region_map_impl& target, const char* document) {
    tinyxml2::XMLDocument doc;
    parse(doc, document, false);
    const tinyxml2::XMLElement* info = doc.FirstChildElement("mapinfo");
    if (!info)
        invalid();
    read_then_publish<weather::zone_ptr>(
        [&](std::vector<weather::zone_ptr>& zones) {
            for (const tinyxml2::XMLElement* m = info->FirstChildElement("map"); m;
                 m = m->NextSiblingElement("map")) {
                const char* id = required(m, "id");
                const double lat = std::atof(required(m, "centerlat"));
                const double lon = std::atof(required(m, "centerlon"));
                const double aspect = std::atof(required(m, "aspectratio"));
                const double distance = std::atof(required(m, "distance"));
                // The name is ours, not required: a server without it leaves the zone unnamed.
                const char* name = m->Attribute("name");
                zones.push_back(weather::zone_ptr(new zone_map_impl(text_of(id), nullptr, lat, lon, aspect,
                                                                    distance, name ? text_of(name) : L"")));
            }
        },
        [&](std::vector<weather::zone_ptr> zones) { target.set_children(std::move(zones)); });
}

void http_location_loader::load() {
    const std::wstring host = weather_host();
    load_into(*target, path_of(L"/zorwmaps?mapid=", target->id()),
              [&](const char* document, cl::http::copy_time) { read_zone(*target, document, host); });
}

void read_zone(zone_map_impl& target, const char* document, const std::wstring& host) {
    tinyxml2::XMLDocument doc;
    parse(doc, document, false);
    const tinyxml2::XMLElement* info = doc.FirstChildElement("mapinfo");
    const tinyxml2::XMLElement* m = info ? info->FirstChildElement("map") : nullptr;
    if (!m)
        invalid();
    if (const char* v = m->Attribute("centerlat"))
        target.set_center_latitude(std::atof(v));
    if (const char* v = m->Attribute("centerlon"))
        target.set_center_longitude(std::atof(v));
    if (const char* v = m->Attribute("aspectratio"))
        target.set_aspect_ratio(std::atof(v));
    if (const char* v = m->Attribute("distance"))
        target.set_distance(std::atof(v));
    using namespace cl::ui::picture_flags;
    target.set_picture(boost::shared_ptr<cl::ui::async_picture>(
        new cl::ui::async_picture(text_of(required(m, "filename")), host, wait_icon, no_failure_image,
                                  cl::ui::picture::top_left, own_size, in_budget)));
    read_then_publish<weather::city_ptr>(
        [&](std::vector<weather::city_ptr>& cities) {
            for (const tinyxml2::XMLElement* c = m->FirstChildElement("city"); c;
                 c = c->NextSiblingElement("city")) {
                const double lat = std::atof(required(c, "latitude"));
                const double lon = std::atof(required(c, "longitude"));
                const std::wstring temperature = text_of(required(c, "temperature"));
                const std::wstring name = text_of(required(c, "name"));
                const std::wstring id = text_of(required(c, "id"));
                cities.push_back(weather::city_ptr(new city_impl(id, name, temperature, lat, lon)));
            }
        },
        [&](std::vector<weather::city_ptr> cities) { target.set_children(std::move(cities)); });
}

void http_search_loader::load() {
    load_into(*target, path_of(L"/zorweather?searchcity=", target->query()),
              [&](const char* document, cl::http::copy_time) { read_search(*target, document); });
}

void read_search(city_search_impl& target, const char* document) {
    tinyxml2::XMLDocument doc;
    parse(doc, document, false);
    const tinyxml2::XMLElement* root = doc.FirstChildElement("weather");
    const tinyxml2::XMLElement* result = root ? root->FirstChildElement("searchresult") : nullptr;
    if (!result)
        invalid();
    read_then_publish<weather::city_ptr>(
        [&](std::vector<weather::city_ptr>& found) {
            for (const tinyxml2::XMLElement* c = result->FirstChildElement("searchcity"); c;
                 c = c->NextSiblingElement("searchcity")) {
                const std::wstring id = text_of(required(c, "dataname"));
                const std::wstring name = text_of(required(c, "realname"));
                const std::wstring country = text_of(required(c, "country"));
                found.push_back(weather::city_ptr(new city_impl(id, name, std::wstring(), 0, 0, country)));
            }
        },
        [&](std::vector<weather::city_ptr> found) { target.set_result(std::move(found)); });
}

namespace {

// The local date as the forecast writes it, year-month-day.
std::wstring today_text() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    wchar_t text[16];
    std::wcsftime(text, sizeof text / sizeof text[0], L"%Y-%m-%d", &local);
    return text;
}

// A held copy shows the days from today on; a copy whose days are all past is no forecast.
void read_held_forecast(city_impl& target, const char* document, cl::http::copy_time held) {
    read_forecast(target, document, held ? today_text() : std::wstring());
}

} // namespace

void http_forecast_loader::load() {
    load_into(
        *target, path_of(L"/zorweather?requestcity=", target->id()),
        [&](const char* document, cl::http::copy_time held) { read_held_forecast(*target, document, held); });
}

bool http_forecast_loader::load_held_copy() {
    const cl::http::copy_time held = cl::http::use_held_document(
        weather_host(), path_of(L"/zorweather?requestcity=", target->id()),
        [&](const char* document, cl::http::copy_time t) { read_held_forecast(*target, document, t); });
    target->set_copy_time(held);
    return held != 0;
}

void read_forecast(city_impl& target, const char* document, const std::wstring& today) {
    tinyxml2::XMLDocument doc;
    parse(doc, document, true);
    const tinyxml2::XMLElement* details = doc.FirstChildElement("WeatherDetails");
    const tinyxml2::XMLElement* city = details ? details->FirstChildElement("City") : nullptr;
    if (!city)
        invalid();
    read_then_publish<weather::day_ptr>(
        [&](std::vector<weather::day_ptr>& days) {
            for (const tinyxml2::XMLElement* d = city->FirstChildElement("Day"); d;
                 d = d->NextSiblingElement("Day")) {
                weather::day_ptr day = read_day(d);
                // Dates compare as text: year-month-day, fixed widths.
                if (today.empty() || day->date() >= today)
                    days.push_back(day);
            }
            if (!today.empty() && days.empty())
                utils::throw_error(std::runtime_error("The forecast is past its last day"));
        },
        [&](std::vector<weather::day_ptr> days) { target.set_days(std::move(days)); });
    utils::log(L"Forecast " + target.id() + L" reloaded");
    target.set_stamp(static_cast<std::int64_t>(platform::tick_count()));
}

// The maps are fetched and read without the lock, which the loop takes for picture() every frame.
template <>
void map_impl<weather::city>::load() {
    loaded.exchange(0);
    set_children({});
    http_location_loader(*this).load();
    loaded.exchange(1);
}

template <>
void map_impl<weather::zone_map>::load() {
    loaded.exchange(0);
    set_children({});
    http_region_loader(*this).load();
    loaded.exchange(1);
}

} // namespace weather_impl
