#include "content_server.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace server {

namespace {

answer not_found(const std::string& why) {
    return answer{404, "text/plain; charset=utf-8", why + "\n"};
}
answer bad_request(const std::string& why) {
    return answer{400, "text/plain; charset=utf-8", why + "\n"};
}

// A picture side from a query value: 8 to 1600 pixels, or the fallback when absent.
bool side(const std::map<std::string, std::string>& q, const char* key, int fallback, int& out) {
    auto it = q.find(key);
    if (it == q.end() || it->second.empty()) {
        out = fallback;
        return true;
    }
    char* end = nullptr;
    long v = std::strtol(it->second.c_str(), &end, 10);
    if (*end != '\0' || v < 8 || v > 1600)
        return false;
    out = static_cast<int>(v);
    return true;
}

std::string number(double v, int decimals) {
    std::ostringstream s;
    s.setf(std::ios::fixed);
    s.precision(decimals);
    s << v;
    return s.str();
}

// Cities on a zone map whose forecasts come from a real service.
constexpr std::size_t max_live_zone_cities = 40;

bool safe_path(const std::string& path) {
    return path.find("..") == std::string::npos && path.find('\\') == std::string::npos &&
           path.find('\0') == std::string::npos && !path.empty() && path[0] == '/';
}

} // namespace

void split_target(const std::string& target, std::string& path, std::map<std::string, std::string>& query) {
    auto decode = [](const std::string& s) {
        std::string out;
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
                std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
                out += static_cast<char>(std::strtol(s.substr(i + 1, 2).c_str(), nullptr, 16));
                i += 2;
            } else {
                out += s[i] == '+' ? ' ' : s[i];
            }
        }
        return out;
    };
    const std::size_t q = target.find('?');
    path = decode(target.substr(0, q));
    query.clear();
    if (q == std::string::npos)
        return;
    std::istringstream pairs(target.substr(q + 1));
    std::string pair;
    while (std::getline(pairs, pair, '&')) {
        const std::size_t eq = pair.find('=');
        query[decode(pair.substr(0, eq))] =
            eq == std::string::npos ? std::string() : decode(pair.substr(eq + 1));
    }
}

std::string xml_escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

content_server::content_server(const settings& s, const live_sources& live)
    : config(s), news(live.news ? live.news : std::make_shared<news_store>(s.content_dir)),
      weather(live.cities ? weather_service(*live.cities) : weather_service(s.content_dir)),
      forecasts(live.forecasts), pictures(live.pictures), world(s.earth_path), renderer(world) {
    if (!config.log)
        config.log = [](const std::string& line) {
            std::fprintf(stderr, "zor-content-server: %s\n", line.c_str());
        };
}

answer content_server::get(const std::string& target) {
    if (target.size() > 4096)
        return bad_request("request too long");
    std::string path;
    std::map<std::string, std::string> q;
    split_target(target, path, q);
    if (!safe_path(path))
        return bad_request("bad path");

    category_entry c;
    if (news->category(path, c)) {
        int w, h;
        if (q.count("itemid")) {
            if (!side(q, "width", config.article_width, w) || !side(q, "height", config.article_height, h))
                return bad_request("bad picture size");
            return article(c, q["itemid"], w, h);
        }
        if (!side(q, "width", config.thumb_width, w) || !side(q, "height", config.thumb_height, h))
            return bad_request("bad picture size");
        return headlines(c, w, h);
    }
    if (path.rfind("/pictures/", 0) == 0) {
        int w, h;
        if (!side(q, "width", config.article_width, w) || !side(q, "height", config.article_height, h))
            return bad_request("bad picture size");
        return picture(path.substr(9), w, h);
    }
    if (path == "/ads") {
        int w;
        if (!side(q, "width", 480, w))
            return bad_request("bad banner width");
        return adverts(w);
    }
    if (path.rfind("/banners/", 0) == 0) {
        int w;
        const int index = std::atoi(path.c_str() + 9);
        if (!side(q, "width", 480, w) || index < 1 || index > 4 ||
            path != "/banners/" + std::to_string(index) + ".jpg")
            return not_found("no such banner");
        return banner(index - 1, w);
    }
    if (path.rfind("/mapdata/", 0) == 0)
        return map_picture(path);
    if (path == "/zorwmaps" && q.count("pmap"))
        return region(q["pmap"]);
    if (path == "/zorwmaps" && q.count("mapid"))
        return zone(q["mapid"]);
    if (path == "/zorweather" && q.count("searchcity"))
        return search(q["searchcity"]);
    if (path == "/zorweather" && q.count("requestcity"))
        return forecast(q["requestcity"]);
    if (path == "/video")
        return video();
    return not_found("nothing here");
}

answer content_server::video() {
    answer a;
    if (cached("/video", a))
        return a;
    std::ifstream in(config.video_path, std::ios::binary);
    if (config.video_path.empty() || !in)
        return not_found("no demo clip");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    a = answer{200, "video/webm", bytes.str()};
    remember("/video", a);
    return a;
}

answer content_server::headlines(const category_entry& c, int width, int height) {
    std::string doc =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<newsheadline timestamp=\"" + c.stamp + "\">\n";
    for (const article_entry& a : c.articles) {
        std::string stamp = a.published;
        for (char& ch : stamp)
            if (ch == '-' || ch == ':')
                ch = ' ';
        int y = 0, mo = 0, d = 0, h = 0, mi = 0;
        std::sscanf(stamp.c_str(), "%d %d %d %d %d", &y, &mo, &d, &h, &mi);
        char text[32];
        std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d00", y, mo, d, h, mi);
        doc += "  <headline id=\"" + xml_escape(a.id) + "\" timestamp=\"" + text + "\">\n    <text>" +
               xml_escape(a.headline) + "</text>\n    <image url=\"/pictures" + c.url + "/" +
               xml_escape(a.id) + ".jpg?width=" + std::to_string(width) +
               "&amp;height=" + std::to_string(height) + "\"/>\n  </headline>\n";
    }
    doc += "</newsheadline>\n";
    return answer{200, "text/xml; charset=utf-8", doc};
}

answer content_server::article(const category_entry& c, const std::string& id, int width, int height) {
    for (const article_entry& a : c.articles) {
        if (a.id != id)
            continue;
        const std::string base = "/pictures" + c.url + "/" + xml_escape(a.id) + ".jpg";
        // The full picture is made twice as large, within the limit.
        const int big_w = std::min(1600, width * 2), big_h = std::min(1600, height * 2);
        std::string doc =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<article>\n  <datacontent>\n    <image url=\"" +
            base + "?width=" + std::to_string(big_w) + "&amp;height=" + std::to_string(big_h) +
            "\"/>\n    <thumbnail url=\"" + base + "?width=" + std::to_string(width) +
            "&amp;height=" + std::to_string(height) + "\"/>\n  </datacontent>\n  <location>" +
            xml_escape(a.location) + "</location>\n  <text>\n";
        for (const std::string& p : a.paragraphs)
            doc += "    <paragraph>" + xml_escape(p) + "</paragraph>\n";
        doc += "  </text>\n</article>\n";
        return answer{200, "text/xml; charset=utf-8", doc};
    }
    return not_found("no such article");
}

bool content_server::cached(const std::string& key, answer& out) {
    std::lock_guard<std::mutex> lock(cache_mutex);
    auto it = picture_cache.find(key);
    if (it == picture_cache.end())
        return false;
    out = it->second;
    return true;
}

void content_server::remember(const std::string& key, const answer& a) {
    std::lock_guard<std::mutex> lock(cache_mutex);
    if (picture_cache.size() > 2000)
        picture_cache.clear(); // bounded: a client asking for endless sizes cannot fill the memory
    picture_cache[key] = a;
}

answer content_server::picture(const std::string& path, int width, int height) {
    // path: "/news/world/some-story.jpg"
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || path.size() < slash + 5 ||
        path.compare(path.size() - 4, 4, ".jpg") != 0)
        return not_found("no such picture");
    const std::string url = path.substr(0, slash), id = path.substr(slash + 1, path.size() - slash - 5);
    category_entry c;
    if (!news->category(url, c))
        return not_found("no such picture");
    const std::string key = path + "?" + std::to_string(width) + "x" + std::to_string(height) + "@" + c.stamp;
    answer a;
    if (cached(key, a))
        return a;
    for (const article_entry& e : c.articles) {
        if (e.id != id)
            continue;
        raster real;
        std::string error;
        if (!e.picture_url.empty() && pictures) {
            if (pictures->picture(e.picture_url, width, height, real, error)) {
                a = answer{200, "image/jpeg", encode_jpeg(real)};
                remember(key, a);
                return a;
            }
            config.log("picture " + e.picture_url + ": " + error + "; drawing one");
        }
        a = answer{200, "image/jpeg",
                   encode_jpeg(renderer.news_picture(width, height, e.lat, e.lon, e.scene, c.colour_index))};
        remember(key, a);
        return a;
    }
    return not_found("no such picture");
}

answer content_server::adverts(int width) {
    std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<advert>\n";
    for (int i = 0; i < 4; ++i)
        doc += std::string("  <image tracker_id=\"") + banners[i].tracker_id + "\" url=\"/banners/" +
               std::to_string(i + 1) + ".jpg?width=" + std::to_string(width) + "\" waplink=\"" +
               banners[i].waplink + "\"/>\n";
    doc += "</advert>\n";
    return answer{200, "text/xml; charset=utf-8", doc};
}

answer content_server::banner(int index, int width) {
    const std::string key = "banner" + std::to_string(index) + "@" + std::to_string(width);
    answer a;
    if (cached(key, a))
        return a;
    a = answer{200, "image/jpeg",
               encode_jpeg(renderer.banner(width, std::max(24, width * 3 / 20), index), 90)};
    remember(key, a);
    return a;
}

answer content_server::map_picture(const std::string& path) {
    for (const auto& entry : weather.map_pictures()) {
        if (entry.first != path)
            continue;
        answer a;
        if (cached(path, a))
            return a;
        std::ifstream in(config.maps_dir + path.substr(8), std::ios::binary);
        if (!config.maps_dir.empty() && in) {
            std::ostringstream bytes;
            bytes << in.rdbuf();
            a = answer{200, "image/jpeg", bytes.str()};
        } else {
            a = answer{200, "image/jpeg", encode_jpeg(renderer.map(entry.second))};
        }
        remember(path, a);
        return a;
    }
    return not_found("no such map");
}

answer content_server::region(const std::string& id) {
    const region_record* r = weather.region(id);
    if (!r)
        return not_found("no such region");
    std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<mapinfo>\n";
    for (const zone_record& z : r->zones)
        doc += "  <map id=\"" + z.id + "\" name=\"" + xml_escape(z.name) + "\" centerlat=\"" +
               number(z.frame.center_lat, 2) + "\" centerlon=\"" + number(z.frame.center_lon, 2) +
               "\" aspectratio=\"" + number(z.frame.aspect, 2) + "\" distance=\"" +
               number(z.frame.distance, 1) + "\"/>\n";
    doc += "</mapinfo>\n";
    return answer{200, "text/xml; charset=utf-8", doc};
}

answer content_server::zone(const std::string& id) {
    const zone_record* z = weather.zone(id);
    if (!z)
        return not_found("no such zone");
    const long today = days_since_epoch_today();
    std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<mapinfo>\n  <map id=\"" + z->id +
                      "\" centerlat=\"" + number(z->frame.center_lat, 2) + "\" centerlon=\"" +
                      number(z->frame.center_lon, 2) + "\" aspectratio=\"" + number(z->frame.aspect, 2) +
                      "\" distance=\"" + number(z->frame.distance, 1) + "\" filename=\"/mapdata/zones/" +
                      z->id + ".jpeg\">\n";
    std::vector<const city_record*> shown = weather.cities_in(*z);
    if (forecasts) {
        // A real service is asked for the largest cities only, all in one go.
        std::stable_sort(shown.begin(), shown.end(), [](const city_record* a, const city_record* b) {
            return a->population > b->population;
        });
        if (shown.size() > max_live_zone_cities)
            shown.resize(max_live_zone_cities);
        forecasts->prefetch(shown);
    }
    for (const city_record* c : shown) {
        int temperature = 0;
        if (forecasts) {
            std::string error;
            const std::vector<forecast_day> days = days_of(*c, 1, error);
            if (days.empty())
                continue;
            temperature = (days[0].t_min + days[0].t_max) / 2;
        } else {
            temperature = weather.current_temperature(*c, today);
        }
        doc += "    <city latitude=\"" + number(c->lat, 2) + "\" longitude=\"" + number(c->lon, 2) +
               "\" temperature=\"" + std::to_string(temperature) + "\" name=\"" + xml_escape(c->name) +
               "\" id=\"" + c->id + "\"/>\n";
    }
    doc += "  </map>\n</mapinfo>\n";
    return answer{200, "text/xml; charset=utf-8", doc};
}

answer content_server::search(const std::string& text) {
    std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<weather>\n  <searchresult>\n";
    for (const city_record* c : weather.search(text))
        doc += "    <searchcity dataname=\"" + c->id + "\" realname=\"" + xml_escape(c->name) +
               "\" country=\"" + xml_escape(c->country) + "\"/>\n";
    doc += "  </searchresult>\n</weather>\n";
    return answer{200, "text/xml; charset=utf-8", doc};
}

answer content_server::forecast(const std::string& id) {
    const city_record* c = weather.city(id);
    if (!c)
        return not_found("no such city");
    std::string error;
    const std::vector<forecast_day> days = days_of(*c, 6, error);
    if (days.empty())
        return answer{503, "text/plain; charset=utf-8", "no forecast: " + error + "\n"};
    std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<WeatherDetails>\n  <City id=\"" + c->id +
                      "\" name=\"" + xml_escape(c->name) + "\">\n";
    for (const forecast_day& d : days)
        doc += "    <Day>\n      <date>" + xml_escape(d.date) + "</date>\n      <precipitationdesc>" +
               xml_escape(d.precipitation) + "</precipitationdesc>\n      <skydescription>" +
               xml_escape(d.sky) + "</skydescription>\n      <tmin>" + std::to_string(d.t_min) +
               "</tmin>\n      <tmax>" + std::to_string(d.t_max) + "</tmax>\n      <windspeed>" +
               number(d.wind_speed, 1) + "</windspeed>\n      <icon>" + xml_escape(d.icon) +
               "</icon>\n      <airquality>" + std::to_string(d.air_quality) +
               "</airquality>\n      <uvindex>" + std::to_string(d.uv_index) + "</uvindex>\n    </Day>\n";
    doc += "  </City>\n</WeatherDetails>\n";
    return answer{200, "text/xml; charset=utf-8", doc};
}

std::vector<forecast_day> content_server::days_of(const city_record& c, int days, std::string& error) {
    if (!forecasts)
        return weather.forecast(c, days_since_epoch_today(), days);
    std::vector<forecast_day> out;
    if (!forecasts->forecast(c, out, error))
        return {};
    // The panel calls the first day Today and names the others from the UTC date; a service's days that are
    // already past (a cached answer across midnight, a city west of Greenwich) would shift every name.
    const std::string today = date_text(days_since_epoch_today());
    std::size_t past = 0;
    while (past < out.size() && out[past].date < today)
        ++past;
    out.erase(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(past));
    if (out.empty())
        error = "every day of the forecast is past";
    if (out.size() > static_cast<std::size_t>(days))
        out.resize(static_cast<std::size_t>(days));
    return out;
}

std::vector<std::string> content_server::export_targets() {
    std::vector<std::string> targets;
    const std::string thumb =
        "?width=" + std::to_string(config.thumb_width) + "&height=" + std::to_string(config.thumb_height);
    const std::string art =
        "&width=" + std::to_string(config.article_width) + "&height=" + std::to_string(config.article_height);
    for (const std::string& url : news->urls()) {
        category_entry c;
        if (!news->category(url, c))
            continue;
        targets.push_back(url + thumb);
        for (const article_entry& a : c.articles) {
            targets.push_back(url + "?itemid=" + a.id + art);
            targets.push_back("/pictures" + url + "/" + a.id + ".jpg" + thumb);
            targets.push_back("/pictures" + url + "/" + a.id +
                              ".jpg?width=" + std::to_string(config.article_width) +
                              "&height=" + std::to_string(config.article_height));
            targets.push_back("/pictures" + url + "/" + a.id +
                              ".jpg?width=" + std::to_string(std::min(1600, config.article_width * 2)) +
                              "&height=" + std::to_string(std::min(1600, config.article_height * 2)));
        }
    }
    targets.push_back("/ads?width=480");
    for (int i = 1; i <= 4; ++i)
        targets.push_back("/banners/" + std::to_string(i) + ".jpg?width=480");
    for (const auto& m : weather.map_pictures())
        targets.push_back(m.first);
    for (const region_record& r : weather.regions()) {
        targets.push_back("/zorwmaps?pmap=" + r.id);
        for (const zone_record& z : r.zones)
            targets.push_back("/zorwmaps?mapid=" + z.id);
    }
    std::vector<const city_record*> cities;
    for (const city_record& c : weather.cities()) {
        targets.push_back("/zorweather?requestcity=" + c.id);
        cities.push_back(&c);
    }
    // A real service is asked for the forecasts in batches rather than one city a request.
    if (forecasts)
        forecasts->prefetch(cities);
    return targets;
}

bool content_server::render_maps(const std::string& folder) {
    ::mkdir(folder.c_str(), 0755);
    ::mkdir((folder + "/zones").c_str(), 0755);
    for (const auto& m : weather.map_pictures()) {
        std::ofstream out(folder + m.first.substr(8), std::ios::binary);
        const std::string bytes = encode_jpeg(renderer.map(m.second));
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            return false;
    }
    return true;
}

} // namespace server
