#include "country_names.h"

#include "text_file.h"

#include <nlohmann/json.hpp>

namespace server {

bool parse_country_names(const std::string& json, std::map<std::string, std::string>& out,
                         std::string& error) {
    const nlohmann::json root = nlohmann::json::parse(json, nullptr, false);
    if (root.is_discarded() || !root.is_object() || !root.contains("3166-1") || !root["3166-1"].is_array()) {
        error = "not an ISO 3166-1 table";
        return false;
    }
    std::map<std::string, std::string> names;
    for (const nlohmann::json& c : root["3166-1"]) {
        if (!c.is_object() || !c.contains("alpha_2") || !c["alpha_2"].is_string())
            continue;
        for (const char* key : {"common_name", "name"}) {
            if (c.contains(key) && c[key].is_string() && !c[key].get<std::string>().empty()) {
                names[c["alpha_2"].get<std::string>()] = c[key].get<std::string>();
                break;
            }
        }
    }
    if (names.empty()) {
        error = "no country in the ISO 3166-1 table";
        return false;
    }
    out = std::move(names);
    return true;
}

bool read_country_names(const std::string& path, std::map<std::string, std::string>& out,
                        std::string& error) {
    std::string text;
    if (!read_text_file(path, text, error))
        return false;
    if (!parse_country_names(text, out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

void name_countries(std::vector<city_record>& cities, const std::map<std::string, std::string>& names) {
    for (city_record& c : cities) {
        auto it = names.find(c.country);
        if (it != names.end())
            c.country = it->second;
    }
}

} // namespace server
