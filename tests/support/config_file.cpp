#include "support/config_file.h"

#include "model/config.h"

#include <fstream>
#include <iterator>

void use_config(const temp_folder& folder, const std::string& xml) {
    zor::config::reset();
    folder.write("config.xml", xml);
    zor::config::init(folder.wpath());
}

bool use_config_pointed_at(const temp_folder& folder, const std::string& config_path,
                           const std::string& host) {
    const std::string config = config_pointed_at(config_path, host);
    if (config.empty())
        return false;
    use_config(folder, config);
    return true;
}

std::string narrow(const std::wstring& ascii) {
    return std::string(ascii.begin(), ascii.end());
}

std::string config_pointed_at(const std::string& config_path, const std::string& host) {
    std::ifstream in(config_path);
    std::string config((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const char* tag : {"<server name=\"", "<weather name=\""}) {
        std::size_t at = config.find(tag);
        if (at == std::string::npos)
            return std::string();
        at += std::string(tag).size();
        config.replace(at, config.find('"', at) - at, host);
    }
    return config;
}
