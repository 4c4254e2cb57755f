#include "sources_file.h"

#include "text_file.h"

#include <sstream>

namespace server {

namespace {

bool whole_number(const std::string& text, int low, int high, int& out) {
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int v = std::stoi(text);
    if (v < low || v > high)
        return false;
    out = v;
    return true;
}

bool web_address(const std::string& url) {
    return url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
}

} // namespace

bool parse_sources(const std::string& text, const std::string& folder, sources_settings& out,
                   std::string& error) {
    sources_settings s;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    int refresh = 15;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(number) + ": " + why;
        return false;
    };
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream words(line);
        std::string key;
        if (!(words >> key) || key[0] == '#')
            continue;
        std::vector<std::string> values;
        for (std::string w; words >> w;)
            values.push_back(w);
        if (key == "feed") {
            if (values.size() < 2 || values[0].empty() || values[0][0] != '/')
                return fail("feed takes a category url and one or more feed addresses");
            for (std::size_t i = 1; i < values.size(); ++i) {
                if (!web_address(values[i]))
                    return fail("a feed address must be http or https: " + values[i]);
                s.categories[values[0]].push_back(feed_source{values[i], refresh});
            }
        } else if (key == "refresh") {
            if (values.size() != 1 || !whole_number(values[0], 1, 24 * 60, refresh))
                return fail("refresh takes minutes, 1 to 1440");
        } else if (key == "forecast" || key == "air-quality") {
            if (values.size() != 1 || !web_address(values[0]))
                return fail(key + " takes one http or https address");
            (key == "forecast" ? s.forecast_url : s.air_quality_url) = values[0];
        } else if (key == "forecast-refresh") {
            if (values.size() != 1 || !whole_number(values[0], 1, 24 * 60, s.forecast_minutes))
                return fail("forecast-refresh takes minutes, 1 to 1440");
        } else if (key == "items") {
            if (values.size() != 1 || !whole_number(values[0], 1, 200, s.items_per_category))
                return fail("items takes a count, 1 to 200");
        } else if (key == "cities" || key == "countries") {
            if (values.size() != 1)
                return fail(key + " takes one file");
            (key == "cities" ? s.cities_file : s.countries_file) =
                values[0][0] == '/' || folder.empty() ? values[0] : folder + "/" + values[0];
        } else if (key == "allow-private-addresses") {
            if (!values.empty())
                return fail("allow-private-addresses takes nothing");
            s.allow_private_addresses = true;
        } else {
            return fail("unknown setting " + key);
        }
    }
    if (s.categories.empty())
        return fail("no feed lines");
    out = s;
    return true;
}

bool read_sources_file(const std::string& path, sources_settings& out, std::string& error) {
    std::string text;
    if (!read_text_file(path, text, error))
        return false;
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    if (!parse_sources(text, folder, out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

} // namespace server
