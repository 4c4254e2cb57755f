#pragma once

#include <string>

namespace server {

// The panel's icon and texts for a WMO weather code as Open-Meteo gives it (0 clear sky ... 99 thunderstorm
// with heavy hail).
struct sky_words {
    std::string icon;          // the code of the panel's state icon
    std::string sky;           // "Sunny", "Overcast"...
    std::string precipitation; // "No precipitation", "Rain"...
};
sky_words words_for_weather_code(int code);

// The panel's air-quality word code for a European AQI value (0 to 100 and more); 0 (no word) when unknown.
int air_quality_code(int european_aqi);

} // namespace server
