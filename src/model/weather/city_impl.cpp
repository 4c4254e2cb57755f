#include "model/weather/loaders.h"
#include "platform/clock.h"
#include "utils/errors.h"

namespace weather_impl {

city_impl::city_impl(const std::wstring& id, const std::wstring& name, const std::wstring& temperature,
                     double latitude, double longitude, const std::wstring& country)
    : id_(id), name_(name), temperature_(temperature), latitude_(latitude), longitude_(longitude),
      country_(country) {}

void city_impl::load() {
    // The forecast is fetched and read without the lock: the pages take it every frame.
    loaded.exchange(0);
    try {
        http_forecast_loader(*this).load();
    } catch (const std::exception& e) {
        utils::log(L"City forecast load error. City id=" + id_);
        utils::log("Error: " + utils::log_text(e));
        set_failed(true);
        return;
    } catch (...) {
        utils::log(L"City forecast load error. City id=" + id_);
        set_failed(true);
        return;
    }
    set_failed(false);
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
