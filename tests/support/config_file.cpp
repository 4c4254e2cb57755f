#include "support/config_file.h"

#include "model/config.h"

void use_config(const temp_folder& folder, const std::string& xml) {
    zor::config::reset();
    folder.write("config.xml", xml);
    zor::config::init(folder.wpath());
}

std::string narrow(const std::wstring& ascii) {
    return std::string(ascii.begin(), ascii.end());
}
