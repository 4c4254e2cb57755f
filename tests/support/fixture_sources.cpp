#include "support/fixture_sources.h"

#include "support/fixture_files.h"
#include "support/picture_maker.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <webp/encode.h>

namespace {

std::string as_text(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::string orange_webp(int w, int h) {
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < w * h; ++i)
        rgb.insert(rgb.end(), {255, 128, 0});
    std::uint8_t* out = nullptr;
    const std::size_t size = WebPEncodeLosslessRGB(rgb.data(), w, h, w * 3, &out);
    std::string bytes(reinterpret_cast<const char*>(out), size);
    WebPFree(out);
    return bytes;
}

// Open-Meteo's answer for as many places as the request names: one object, or an array of them.
std::string per_place(const std::string& request, const std::string& one) {
    const std::size_t at = request.find("latitude=");
    const std::string lat = request.substr(at, request.find('&', at) - at);
    const std::size_t places = static_cast<std::size_t>(std::count(lat.begin(), lat.end(), ',')) + 1;
    std::string body = one;
    if (places > 1) {
        body = "[";
        for (std::size_t i = 0; i < places; ++i)
            body += (i ? "," : "") + one;
        body += "]";
    }
    return http_response(200, body, "Content-Type: application/json\r\n");
}

// The fixtures' forecasts are written from 2026-12-06 on; they are moved to start today.
std::string dated_from_today(std::string text) {
    const std::string first = "2026-12-";
    for (std::size_t at = text.find(first); at != std::string::npos; at = text.find(first, at + 1)) {
        const int day = std::atoi(text.substr(at + first.size(), 2).c_str());
        text.replace(at, first.size() + 2, fixture_day(day - 6));
    }
    return text;
}

} // namespace

std::string fixture_day(int offset) {
    const std::time_t t = (std::time(nullptr) / 86400 + offset) * 86400;
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &tm);
    return text;
}

fixture_sources::fixture_sources(const temp_folder& folder) : path(folder.file("sources.txt")) {
    http.add_route("/feeds/rss2.xml", read_fixture("rss2.xml"));
    http.add_route("/feeds/atom.xml", read_fixture("atom.xml"));
    http.add_route("/feeds/rss1.xml", read_fixture("rss1.xml"));
    http.add_route("/feeds/nodates.xml", read_fixture("nodates.xml"));
    http.add_route("/pictures/ferry.webp", orange_webp(300, 200));
    http.add_route("/pictures/lighthouse.png",
                   as_text(encode_png(64, 64, solid_rgba(64, 64, 0, 0, 255, 255))));
    http.add_route("/pictures/comet.jpg",
                   as_text(encode_jpeg(80, 60, std::vector<std::uint8_t>(80 * 60 * 3, 90))));
    const std::string forecast = dated_from_today(read_fixture("forecast.json")),
                      air = dated_from_today(read_fixture("air_quality.json"));
    http.add_handler("/v1/forecast", [forecast](const std::string& r) { return per_place(r, forecast); });
    http.add_handler("/v1/air-quality", [air](const std::string& r) { return per_place(r, air); });

    const std::string base = "http://127.0.0.1:" + std::to_string(http.port());
    folder.write("sources.txt", "# the fixtures\n"
                                "allow-private-addresses\n"
                                "feed /news/world " +
                                    base + "/feeds/rss2.xml " + base +
                                    "/feeds/atom.xml\n"
                                    "feed /news/business " +
                                    base +
                                    "/feeds/rss1.xml\n"
                                    "feed /news/technology " +
                                    base +
                                    "/feeds/atom.xml\n"
                                    "feed /news/sport " +
                                    base +
                                    "/feeds/nodates.xml\n"
                                    "feed /news/sport/football " +
                                    base +
                                    "/feeds/rss2.xml\n"
                                    "feed /news/sport/tennis " +
                                    base +
                                    "/feeds/rss1.xml\n"
                                    "feed /news/science " +
                                    base +
                                    "/feeds/atom.xml\n"
                                    "feed /news/culture " +
                                    base +
                                    "/feeds/missing.xml\n"
                                    "forecast " +
                                    base +
                                    "/v1/forecast\n"
                                    "air-quality " +
                                    base +
                                    "/v1/air-quality\n"
                                    "cities " +
                                    fixture_path("cities.txt") + "\n");
}
