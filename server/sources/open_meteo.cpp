#include "open_meteo.h"

#include "weather_codes.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace server {

namespace {

constexpr std::size_t max_answer = 4 * 1024 * 1024;
constexpr int max_days = 16;

// Nesting deeper than any answer of the service has is refused before parsing.
bool shallow(const std::string& text, int limit) {
    int depth = 0;
    bool in_string = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (in_string) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                in_string = false;
        } else if (c == '"') {
            in_string = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit)
                return false;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

bool parse_answer(const std::string& text, std::vector<const nlohmann::json*>& objects, nlohmann::json& root,
                  std::string& error) {
    if (text.size() > max_answer || !shallow(text, 32)) {
        error = "answer too large or too deeply nested";
        return false;
    }
    root = nlohmann::json::parse(text, nullptr, false);
    if (root.is_discarded()) {
        error = "not JSON";
        return false;
    }
    if (root.is_object())
        objects.push_back(&root);
    else if (root.is_array())
        for (const nlohmann::json& o : root)
            objects.push_back(&o);
    for (const nlohmann::json* o : objects) {
        if (!o->is_object()) {
            error = "not an object";
            return false;
        }
        auto e = o->find("error");
        if (e != o->end() && e->is_boolean() && e->get<bool>()) {
            auto reason = o->find("reason");
            error = reason != o->end() && reason->is_string() ? reason->get<std::string>() : "error answer";
            return false;
        }
    }
    if (objects.empty()) {
        error = "no locations";
        return false;
    }
    return true;
}

// The series' value of a day, or false when it is absent, null or not a number.
bool value_at(const nlohmann::json& daily, std::initializer_list<const char*> names, std::size_t i,
              double& out) {
    for (const char* name : names) {
        auto s = daily.find(name);
        if (s == daily.end() || !s->is_array() || i >= s->size())
            continue;
        const nlohmann::json& v = (*s)[i];
        if (!v.is_number())
            return false;
        out = v.get<double>();
        return std::isfinite(out) && std::fabs(out) < 1e6;
    }
    return false;
}

int rounded(double v) {
    return static_cast<int>(std::lround(v));
}

} // namespace

bool read_open_meteo_forecast(const std::string& json, std::vector<std::vector<forecast_day>>& locations,
                              std::string& error) {
    nlohmann::json root;
    std::vector<const nlohmann::json*> objects;
    if (!parse_answer(json, objects, root, error))
        return false;
    std::vector<std::vector<forecast_day>> out;
    for (const nlohmann::json* o : objects) {
        auto daily = o->find("daily");
        if (daily == o->end() || !daily->is_object()) {
            error = "no daily forecast";
            return false;
        }
        auto times = daily->find("time");
        if (times == daily->end() || !times->is_array()) {
            error = "no dates";
            return false;
        }
        std::vector<forecast_day> days;
        for (std::size_t i = 0; i < times->size() && days.size() < max_days; ++i) {
            const nlohmann::json& t = (*times)[i];
            double code = 0, t_min = 0, t_max = 0;
            if (!t.is_string() || t.get<std::string>().size() != 10 ||
                !value_at(*daily, {"weather_code", "weathercode"}, i, code) ||
                !value_at(*daily, {"temperature_2m_min"}, i, t_min) ||
                !value_at(*daily, {"temperature_2m_max"}, i, t_max))
                continue;
            const sky_words words = words_for_weather_code(rounded(code));
            forecast_day d;
            d.date = t.get<std::string>();
            d.icon = words.icon;
            d.sky = words.sky;
            d.precipitation = words.precipitation;
            double chance = 0, wind = 0, uv = -1;
            if (value_at(*daily, {"precipitation_probability_max"}, i, chance) && chance >= 0 &&
                chance <= 100 && words.precipitation != "No precipitation")
                d.precipitation += ", " + std::to_string(rounded(chance)) + "%";
            d.t_min = rounded(t_min);
            d.t_max = rounded(t_max);
            if (value_at(*daily, {"wind_speed_10m_max", "windspeed_10m_max"}, i, wind))
                d.wind_speed = std::round(wind * 10) / 10;
            d.uv_index = value_at(*daily, {"uv_index_max"}, i, uv) ? std::max(0, rounded(uv)) : -1;
            days.push_back(d);
        }
        out.push_back(days);
    }
    locations = out;
    return true;
}

bool read_open_meteo_air_quality(const std::string& json, std::vector<std::map<std::string, int>>& locations,
                                 std::string& error) {
    nlohmann::json root;
    std::vector<const nlohmann::json*> objects;
    if (!parse_answer(json, objects, root, error))
        return false;
    std::vector<std::map<std::string, int>> out;
    for (const nlohmann::json* o : objects) {
        auto hourly = o->find("hourly");
        if (hourly == o->end() || !hourly->is_object()) {
            error = "no hourly values";
            return false;
        }
        auto times = hourly->find("time");
        if (times == hourly->end() || !times->is_array()) {
            error = "no times";
            return false;
        }
        std::map<std::string, int> by_date;
        for (std::size_t i = 0; i < times->size(); ++i) {
            double aqi = 0;
            const nlohmann::json& t = (*times)[i];
            if (!t.is_string() || t.get<std::string>().size() < 10 ||
                !value_at(*hourly, {"european_aqi"}, i, aqi) || aqi < 0)
                continue;
            int& worst = by_date.emplace(t.get<std::string>().substr(0, 10), 0).first->second;
            worst = std::max(worst, rounded(aqi));
        }
        out.push_back(by_date);
    }
    locations = out;
    return true;
}

open_meteo_forecasts::open_meteo_forecasts(const sources_settings& settings, fetcher& web, logger log)
    : config(settings), web(web), log(std::move(log)) {}

bool open_meteo_forecasts::fresh(const std::string& id) {
    std::lock_guard<std::mutex> lock(m);
    auto it = cache.find(id);
    return it != cache.end() && std::chrono::steady_clock::now() - it->second.fetched <
                                    std::chrono::minutes(config.forecast_minutes);
}

bool open_meteo_forecasts::forecast(const city_record& city, std::vector<forecast_day>& days,
                                    std::string& error) {
    if (!fresh(city.id) && !fetch({&city}, error))
        log("forecast of " + city.name + ": " + error);
    std::lock_guard<std::mutex> lock(m);
    auto it = cache.find(city.id);
    if (it == cache.end() || it->second.days.empty()) {
        if (error.empty())
            error = "no forecast";
        return false;
    }
    days = it->second.days;
    return true;
}

void open_meteo_forecasts::prefetch(const std::vector<const city_record*>& cities) {
    std::vector<const city_record*> wanted;
    for (const city_record* c : cities)
        if (!fresh(c->id))
            wanted.push_back(c);
    for (std::size_t i = 0; i < wanted.size(); i += batch_size) {
        std::vector<const city_record*> batch(wanted.begin() + static_cast<long>(i),
                                              wanted.begin() +
                                                  static_cast<long>(std::min(wanted.size(), i + batch_size)));
        std::string error;
        if (!fetch(batch, error))
            log("forecasts of " + std::to_string(batch.size()) + " cities: " + error);
    }
}

bool open_meteo_forecasts::fetch(const std::vector<const city_record*>& cities, std::string& error) {
    if (config.forecast_url.empty()) {
        error = "no forecast service in the sources file";
        return false;
    }
    std::string lat, lon;
    for (const city_record* c : cities) {
        char text[64];
        std::snprintf(text, sizeof text, "%s%.4f", lat.empty() ? "" : ",", c->lat);
        lat += text;
        std::snprintf(text, sizeof text, "%s%.4f", lon.empty() ? "" : ",", c->lon);
        lon += text;
    }
    const std::string where = "latitude=" + lat + "&longitude=" + lon;
    // A service address may carry its own query (an API key).
    auto joined = [](const std::string& url) {
        return url + (url.find('?') == std::string::npos ? "?" : "&");
    };
    fetcher::request r;
    r.url = joined(config.forecast_url) + where +
            "&daily=weather_code,temperature_2m_max,temperature_2m_min,precipitation_probability_max,"
            "wind_speed_10m_max,uv_index_max&timezone=auto&forecast_days=6";
    r.max_bytes = max_answer;
    fetcher::result got = web.get(r);
    std::vector<std::vector<forecast_day>> days;
    if (got.status != fetcher::outcome::fresh) {
        error = got.error;
        return false;
    }
    if (!read_open_meteo_forecast(got.body, days, error))
        return false;
    if (days.size() != cities.size()) {
        error = "answer for " + std::to_string(days.size()) + " places, asked for " +
                std::to_string(cities.size());
        return false;
    }
    // Air quality is a second service; without it the days only lack their word for it.
    std::vector<std::map<std::string, int>> air;
    if (!config.air_quality_url.empty()) {
        fetcher::request a;
        a.url = joined(config.air_quality_url) + where + "&hourly=european_aqi&timezone=auto&forecast_days=5";
        a.max_bytes = max_answer;
        fetcher::result aq = web.get(a);
        std::string why = aq.error;
        if (aq.status != fetcher::outcome::fresh || !read_open_meteo_air_quality(aq.body, air, why) ||
            air.size() != cities.size()) {
            log("air quality: " + (why.empty() ? "answer for other places" : why));
            air.clear();
        }
    }
    std::lock_guard<std::mutex> lock(m);
    for (std::size_t i = 0; i < cities.size(); ++i) {
        for (forecast_day& d : days[i]) {
            d.air_quality = 0;
            if (!air.empty()) {
                auto found = air[i].find(d.date);
                if (found != air[i].end())
                    d.air_quality = air_quality_code(found->second);
            }
        }
        if (!days[i].empty())
            cache[cities[i]->id] = kept{days[i], std::chrono::steady_clock::now()};
    }
    return true;
}

} // namespace server
