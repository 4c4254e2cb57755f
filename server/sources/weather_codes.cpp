#include "weather_codes.h"

namespace server {

sky_words words_for_weather_code(int code) {
    switch (code) {
    case 0:
        return {"1", "Sunny", "No precipitation"};
    case 1:
        return {"2", "Mostly sunny", "No precipitation"};
    case 2:
        return {"3", "Partly cloudy", "No precipitation"};
    case 3:
        return {"6", "Overcast", "No precipitation"};
    case 45:
    case 48:
        return {"7", "Fog", "No precipitation"};
    case 51:
    case 53:
    case 55:
        return {"9", "Cloudy", "Drizzle"};
    case 56:
    case 57:
        return {"22", "Overcast", "Freezing drizzle"};
    case 61:
        return {"13", "Cloudy", "Light rain"};
    case 63:
    case 65:
        return {"14", "Overcast", "Rain"};
    case 66:
    case 67:
        return {"22", "Overcast", "Freezing rain"};
    case 71:
        return {"19", "Overcast", "Light snow"};
    case 73:
    case 75:
    case 77:
        return {"21", "Overcast", "Snow"};
    case 80:
    case 81:
        return {"s13", "Partly cloudy", "Showers"};
    case 82:
        return {"14", "Overcast", "Heavy showers"};
    case 85:
    case 86:
        return {"19", "Cloudy", "Snow showers"};
    case 95:
    case 96:
    case 99:
        return {"15", "Cloudy", "Thunderstorms"};
    default:
        return {"5", "Cloudy", "No precipitation"};
    }
}

int air_quality_code(int european_aqi) {
    // The panel's words: 20 very clean air ... 24 smog; 25 is its "low level pollution".
    if (european_aqi < 0)
        return 0;
    if (european_aqi <= 20)
        return 20;
    if (european_aqi <= 40)
        return 21;
    if (european_aqi <= 60)
        return 22;
    if (european_aqi <= 80)
        return 25;
    return 24;
}

} // namespace server
