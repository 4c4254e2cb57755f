#pragma once

#include "earth.h"
#include "live_sources.h"
#include "news_store.h"
#include "picture_renderer.h"
#include "weather_service.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace server {

struct answer {
    int status = 200;
    std::string content_type = "text/xml; charset=utf-8";
    std::string body;
};

// Every document and picture the panel asks for, as a function of the request target (path and query):
// the same target always gets the same bytes while the content does not change.
class content_server {
public:
    struct settings {
        std::string content_dir;
        std::string earth_path = earth::default_path;
        // Where the map pictures made at build time lie; missing ones are drawn on request.
        std::string maps_dir;
        // The demo clip made at build time, served as /video; none when empty or missing.
        std::string video_path;
        // Sizes used when a request names none.
        int thumb_width = 120, thumb_height = 90;
        int article_width = 440, article_height = 330;
        // Where failures of real sources are told.
        std::function<void(const std::string&)> log;
    };

    // The demo content of the content folder, with the parts that live names replaced by them.
    explicit content_server(const settings& s, const live_sources& live = live_sources());

    answer get(const std::string& target);

    // Targets of every document and picture of the demo content at the sizes the default configuration asks
    // for (what a static export holds).
    std::vector<std::string> export_targets();
    // Draws every map picture into the folder (the build does this once).
    bool render_maps(const std::string& folder);

private:
    answer headlines(const category_entry& c, int width, int height);
    answer article(const category_entry& c, const std::string& id, int width, int height);
    answer picture(const std::string& path, int width, int height);
    answer adverts(int width);
    answer banner(int index, int width);
    answer map_picture(const std::string& path);
    answer region(const std::string& id);
    answer zone(const std::string& id);
    answer search(const std::string& text);
    answer forecast(const std::string& id);
    answer video();
    bool cached(const std::string& key, answer& out);
    void remember(const std::string& key, const answer& a);

    std::vector<forecast_day> days_of(const city_record& c, int days, std::string& error);

    settings config;
    std::shared_ptr<news_source> news;
    weather_service weather;
    std::shared_ptr<forecast_source> forecasts;
    std::shared_ptr<picture_source> pictures;
    earth world;
    picture_renderer renderer;
    std::mutex cache_mutex;
    std::map<std::string, answer> picture_cache;
};

// Splits "path?a=b&c=d" and decodes percent escapes and '+' in the values.
void split_target(const std::string& target, std::string& path, std::map<std::string, std::string>& query);
std::string xml_escape(const std::string& text);

} // namespace server
