#pragma once

#include "model/weather/weather.h"
#include "utils/atomic_long.h"
#include "utils/mutex.h"

namespace weather_impl {

class forecast_day_impl : public weather::forecast_day {
public:
    forecast_day_impl(const std::wstring& date, const std::wstring& precipitation, const std::wstring& sky,
                      int t_min, int t_max, double wind_speed, const std::wstring& icon, int air_quality,
                      int uv_index)
        : date_(date), precipitation_(precipitation), sky_(sky), t_min_(t_min), t_max_(t_max),
          wind_speed_(wind_speed), icon_(icon), air_quality_(air_quality), uv_index_(uv_index) {}

    std::int64_t timestamp() const override { return 0; }
    bool is_loaded() const override { return true; }
    int priority() const override { return 1; }
    void load() override {}

    std::wstring date() const override { return date_; }
    std::wstring precipitation() const override { return precipitation_; }
    std::wstring sky() const override { return sky_; }
    std::wstring icon() const override { return icon_; }
    int air_quality() const override { return air_quality_; }
    int uv_index() const override { return uv_index_; }
    int t_min() const override { return t_min_; }
    int t_max() const override { return t_max_; }
    double wind_speed() const override { return wind_speed_; }

private:
    std::wstring date_, precipitation_, sky_;
    int t_min_, t_max_;
    double wind_speed_;
    std::wstring icon_;
    int air_quality_, uv_index_;
};

class city_impl : public weather::city {
public:
    city_impl(const std::wstring& id, const std::wstring& name,
              const std::wstring& temperature = std::wstring(), double latitude = 0, double longitude = 0,
              const std::wstring& country = std::wstring());

    std::int64_t timestamp() const override { return stamp.load(); }
    bool is_loaded() const override { return loaded != 0; }
    int priority() const override { return 1; }
    // Fetches the forecast; a failure is logged here and never reaches the loading thread.
    void load() override;

    std::wstring id() const override { return id_; }
    std::wstring name() const override { return name_; }
    std::wstring temperature() const override { return temperature_; }
    double latitude() const override { return latitude_; }
    double longitude() const override { return longitude_; }
    std::wstring country() const override { return country_; }
    const std::vector<weather::day_ptr>* lock_forecast() override;
    void unlock_forecast() override { lock.unlock(); }

    // The forecast loader: the days it read, swapped in at once.
    void set_days(std::vector<weather::day_ptr> read);
    void set_stamp(std::int64_t s) { stamp.store(s); }

private:
    std::vector<weather::day_ptr> days;
    std::wstring id_, name_, temperature_;
    double latitude_, longitude_;
    std::wstring country_;
    utils::mutex lock;
    utils::atomic_long loaded;
    std::atomic<std::int64_t> stamp{0};
    std::atomic<bool> held_tried{false};
};

class city_search_impl : public weather::city_search {
public:
    explicit city_search_impl(const std::wstring& query) : query_(query) {}

    std::int64_t timestamp() const override { return 0; }
    bool is_loaded() const override { return loaded != 0; }
    int priority() const override { return 1; }
    void load() override;

    std::wstring query() const override { return query_; }
    const std::vector<weather::city_ptr>* lock_result() override;
    void unlock_result() override { lock.unlock(); }

    // The search loader: the cities it found, swapped in at once.
    void set_result(std::vector<weather::city_ptr> found);

private:
    std::wstring query_;
    std::vector<weather::city_ptr> result;
    utils::mutex lock;
    utils::atomic_long loaded;
};

template <class T>
class map_impl : public weather::geo_map<T> {
public:
    map_impl(const std::wstring& id, const boost::shared_ptr<cl::ui::async_picture>& picture, double lat,
             double lon, double aspect, double distance, const std::wstring& name = std::wstring())
        : id_(id), name_(name), picture_(picture), lat_(lat), lon_(lon), aspect_(aspect),
          distance_(distance) {}

    std::int64_t timestamp() const override { return 0; }
    bool is_loaded() const override { return loaded != 0; }
    int priority() const override { return 1; }
    void load() override;
    void unload() override {
        {
            utils::lock_guard guard(lock);
            children.clear();
        }
        if (auto p = picture())
            p->unload();
        loaded.exchange(0);
    }

    std::wstring id() const override { return id_; }
    std::wstring name() const override { return name_; }
    boost::shared_ptr<cl::ui::async_picture> picture() const override {
        utils::lock_guard guard(lock);
        return picture_;
    }
    double center_latitude() const override { return lat_.load(); }
    double center_longitude() const override { return lon_.load(); }
    double aspect_ratio() const override { return aspect_.load(); }
    double distance() const override { return distance_.load(); }
    const std::vector<boost::shared_ptr<T>>* lock_children() override {
        if (!this->is_loaded())
            return nullptr;
        lock.lock();
        return &children;
    }
    void unlock_children() override { lock.unlock(); }

    // The loaders parse off the lock and swap what they read in at once.
    void set_children(std::vector<boost::shared_ptr<T>> read) {
        utils::lock_guard guard(lock);
        children.swap(read);
    }
    // Also while not loaded (a load that stopped half-way keeps what it read).
    std::size_t child_count() const {
        utils::lock_guard guard(lock);
        return children.size();
    }
    void set_center_latitude(double v) { lat_.store(v); }
    void set_center_longitude(double v) { lon_.store(v); }
    void set_aspect_ratio(double v) { aspect_.store(v); }
    void set_distance(double v) { distance_.store(v); }
    void set_picture(const boost::shared_ptr<cl::ui::async_picture>& p) {
        utils::lock_guard guard(lock);
        picture_ = p;
    }

private:
    std::vector<boost::shared_ptr<T>> children;
    mutable utils::mutex lock;
    std::wstring id_;
    std::wstring name_;
    boost::shared_ptr<cl::ui::async_picture> picture_;
    std::atomic<double> lat_, lon_, aspect_, distance_;
    utils::atomic_long loaded;
};

using zone_map_impl = map_impl<weather::city>;
using region_map_impl = map_impl<weather::zone_map>;

} // namespace weather_impl

namespace weather_impl {
// Each kind of map fills itself with its own loader.
template <>
void map_impl<weather::city>::load();
template <>
void map_impl<weather::zone_map>::load();
} // namespace weather_impl
