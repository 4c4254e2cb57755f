#include "model/weather/loaders.h"
#include "platform/clock.h"

namespace weather_impl {

city_impl::city_impl(const std::wstring& id, const std::wstring& name, const std::wstring& temperature,
                     double latitude, double longitude, const std::wstring& country)
    : id_(id), name_(name), temperature_(temperature), latitude_(latitude), longitude_(longitude),
      country_(country) {}

void city_impl::load() {
    // The first time, the held copy of the last run shows at once while the network is asked.
    const bool held_shown = !held_tried.exchange(true) && http_forecast_loader(*this).load_held_copy();
    if (held_shown)
        loaded.exchange(1);
    else
        loaded.exchange(0);
    // The forecast is fetched and read without the lock: the pages take it every frame.
    if (!attempt([this] { http_forecast_loader(*this).load(); }, L"City forecast load error. City id=" + id_,
                 L"City forecast load error. City id=" + id_))
        return;
    set_load_time(platform::tick_count());
    loaded.exchange(1);
}

void city_impl::set_days(std::vector<weather::day_ptr> read) {
    utils::lock_guard guard(lock);
    days.swap(read);
}

const std::vector<weather::day_ptr>* city_impl::lock_forecast() {
    if (!is_loaded())
        return nullptr;
    lock.lock();
    return &days;
}

void city_search_impl::load() {
    loaded.exchange(0);
    http_search_loader(*this).load();
    loaded.exchange(1);
}

const std::vector<weather::city_ptr>* city_search_impl::lock_result() {
    if (!is_loaded())
        return nullptr;
    lock.lock();
    return &result;
}

void city_search_impl::set_result(std::vector<weather::city_ptr> found) {
    utils::lock_guard guard(lock);
    result.swap(found);
}

} // namespace weather_impl
