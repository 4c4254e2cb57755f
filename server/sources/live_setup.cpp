#include "live_setup.h"

#include "country_names.h"
#include "geonames_cities.h"
#include "libxml_setup.h"
#include "live_pictures.h"
#include "open_meteo.h"

#include <ctime>

namespace server {

bool make_live_setup(const sources_settings& settings, const std::function<void(const std::string&)>& log,
                     live_setup& out, std::string& error) {
    prepare_libxml2();
    fetcher::settings web;
    web.allow_private_addresses = settings.allow_private_addresses;
    out.web.reset(new fetcher(web));
    out.feeds = std::make_shared<feed_store>(settings, *out.web, log);
    out.sources.news = out.feeds;
    if (!settings.cities_file.empty()) {
        auto cities = std::make_shared<std::vector<city_record>>();
        if (!read_geonames_cities(settings.cities_file, *cities, error))
            return false;
        std::map<std::string, std::string> names;
        std::string why;
        if (read_country_names(settings.countries_file, names, why))
            name_countries(*cities, names);
        else
            log("countries: " + why + "; cities show their two-letter country code");
        out.sources.cities = cities;
    }
    if (!settings.forecast_url.empty())
        out.sources.forecasts = std::make_shared<open_meteo_forecasts>(settings, *out.web, log);
    out.sources.pictures = std::make_shared<live_pictures>(*out.web, live_pictures::limits());
    return true;
}

feed_refresher::feed_refresher(feed_store& feeds) : feeds(feeds) {
    worker = std::thread([this] {
        std::unique_lock<std::mutex> lock(m);
        while (!stopping) {
            const std::int64_t due = this->feeds.next_due();
            const std::int64_t now = std::time(nullptr);
            if (due > now) {
                wake.wait_for(lock, std::chrono::seconds(std::min<std::int64_t>(due - now, 3600)));
                continue;
            }
            lock.unlock();
            this->feeds.refresh(now);
            lock.lock();
        }
    });
}

feed_refresher::~feed_refresher() {
    {
        std::lock_guard<std::mutex> lock(m);
        stopping = true;
    }
    wake.notify_all();
    worker.join();
}

} // namespace server
