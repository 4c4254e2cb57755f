#include "support/temp_folder.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

temp_folder::temp_folder() {
    char pattern[] = "/tmp/zor_test_XXXXXX";
    char* made = mkdtemp(pattern);
    dir = made ? made : "/tmp";
}

temp_folder::~temp_folder() {
    if (dir != "/tmp")
        std::system(("rm -rf '" + dir + "'").c_str());
}

void temp_folder::write(const std::string& name, const std::string& content) const {
    std::ofstream(file(name), std::ios::binary) << content;
}

std::string temp_folder::read(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool temp_folder::exists(const std::string& name) const {
    struct stat st {};
    return ::stat(file(name).c_str(), &st) == 0;
}
