#include "default_config.h"

#include <cstdio>
#include <stdexcept>
#include <tinyxml2.h>

namespace assets {

std::vector<news_category> read_categories(const std::string& config_path) {
    tinyxml2::XMLDocument doc;
    if (doc.LoadFile(config_path.c_str()) != tinyxml2::XML_SUCCESS)
        throw std::runtime_error("cannot read " + config_path);
    const tinyxml2::XMLElement* list = nullptr;
    if (auto* internet = doc.FirstChildElement("internet"))
        if (auto* news = internet->FirstChildElement("news"))
            list = news->FirstChildElement("categories");
    if (!list)
        throw std::runtime_error(config_path + " has no news categories");
    std::vector<news_category> out;
    for (auto* c = list->FirstChildElement("category"); c; c = c->NextSiblingElement("category")) {
        news_category cat;
        cat.name = c->Attribute("name") ? c->Attribute("name") : "";
        unsigned r = 0, g = 0, b = 0;
        if (const char* colour = c->Attribute("color"))
            if (std::sscanf(colour, "%u,%u,%u", &r, &g, &b) != 3)
                r = g = b = 0;
        cat.rgb = ((r & 0xFF) << 16) | ((g & 0xFF) << 8) | (b & 0xFF);
        out.push_back(cat);
    }
    return out;
}

} // namespace assets
