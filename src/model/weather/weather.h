#pragma once

#include "net/i_async_info_object.h"
#include "ui/async_picture.h"
#include "utils/locked_view.h"

#include <boost/shared_ptr.hpp>
#include <string>
#include <vector>

// The public side of the weather data: cities with their forecasts, searches, and the map tree of the world
// view. Lists are read between a lock call (null while not loaded) and its unlock, never across frames: the
// guards below pair the two.
namespace weather {

class forecast_day : public cl::i_async_info_object {
public:
    virtual std::wstring date() const = 0;
    virtual std::wstring precipitation() const = 0;
    virtual std::wstring sky() const = 0;
    virtual std::wstring icon() const = 0;
    virtual int air_quality() const = 0;
    virtual int uv_index() const = 0;
    virtual int t_min() const = 0;
    virtual int t_max() const = 0;
    virtual double wind_speed() const = 0;
};
using day_ptr = boost::shared_ptr<forecast_day>;

class city : public cl::i_async_info_object {
public:
    virtual std::wstring id() const = 0;
    virtual std::wstring name() const = 0;
    virtual std::wstring temperature() const = 0;
    virtual double latitude() const = 0;
    virtual double longitude() const = 0;
    virtual std::wstring country() const = 0;
    virtual const std::vector<day_ptr>* lock_forecast() = 0;
    virtual void unlock_forecast() = 0;
};
using city_ptr = boost::shared_ptr<city>;
using forecast_lock =
    utils::locked_view<city, const std::vector<day_ptr>, &city::lock_forecast, &city::unlock_forecast>;

class city_search : public cl::i_async_info_object {
public:
    virtual std::wstring query() const = 0;
    virtual const std::vector<city_ptr>* lock_result() = 0;
    virtual void unlock_result() = 0;
};
using search_ptr = boost::shared_ptr<city_search>;
using result_lock = utils::locked_view<city_search, const std::vector<city_ptr>, &city_search::lock_result,
                                       &city_search::unlock_result>;

template <class T>
class geo_map : public cl::i_async_info_object {
public:
    virtual std::wstring id() const = 0;
    // What the user calls the area ("Mediterranean"); empty when the server gives none.
    virtual std::wstring name() const = 0;
    virtual boost::shared_ptr<cl::ui::async_picture> picture() const = 0;
    virtual double center_latitude() const = 0;
    virtual double center_longitude() const = 0;
    virtual double aspect_ratio() const = 0;
    virtual double distance() const = 0;
    virtual const std::vector<boost::shared_ptr<T>>* lock_children() = 0;
    virtual void unlock_children() = 0;
};

template <class T>
using children_lock = utils::locked_view<geo_map<T>, const std::vector<boost::shared_ptr<T>>,
                                         &geo_map<T>::lock_children, &geo_map<T>::unlock_children>;

using zone_map = geo_map<city>;
using region_map = geo_map<zone_map>;
using zone_ptr = boost::shared_ptr<zone_map>;
using region_ptr = boost::shared_ptr<region_map>;

} // namespace weather
