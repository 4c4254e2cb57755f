#include "model/weather/loaders.h"

#include "model/config.h"
#include "net/document_fetch.h"
#include "net/url.h"
#include "platform/clock.h"
#include "utils/document_text.h"
#include "utils/errors.h"

#include <cstdlib>
#include <tinyxml2.h>

namespace weather_impl {

namespace {

[[noreturn]] void invalid() {
    utils::throw_error(std::runtime_error("Invalid XML document"));
}

// Ids and queries are encoded, so a blank, an '&' or a non-ASCII letter still makes a valid request.
cl::http::buffer fetch(const std::wstring& prefix, const std::wstring& value) {
    return cl::http::fetch_document(weather_host(), prefix + cl::http::encode_query_value(value));
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
    read_region(*target, fetch(L"/zorwmaps?pmap=", target->id()).data());
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
                zones.push_back(
                    weather::zone_ptr(new zone_map_impl(text_of(id), nullptr, lat, lon, aspect, distance)));
            }
        },
        [&](std::vector<weather::zone_ptr> zones) { target.set_children(std::move(zones)); });
}

void http_location_loader::load() {
    read_zone(*target, fetch(L"/zorwmaps?mapid=", target->id()).data(), weather_host());
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
    read_search(*target, fetch(L"/zorweather?searchcity=", target->query()).data());
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

void http_forecast_loader::load() {
    read_forecast(*target, fetch(L"/zorweather?requestcity=", target->id()).data());
}

void read_forecast(city_impl& target, const char* document) {
    tinyxml2::XMLDocument doc;
    parse(doc, document, true);
    const tinyxml2::XMLElement* details = doc.FirstChildElement("WeatherDetails");
    const tinyxml2::XMLElement* city = details ? details->FirstChildElement("City") : nullptr;
    if (!city)
        invalid();
    read_then_publish<weather::day_ptr>(
        [&](std::vector<weather::day_ptr>& days) {
            for (const tinyxml2::XMLElement* d = city->FirstChildElement("Day"); d;
                 d = d->NextSiblingElement("Day"))
                days.push_back(read_day(d));
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
