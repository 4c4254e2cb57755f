#include "support/fixture_files.h"

#include <fstream>
#include <sstream>

std::string fixture_path(const std::string& name) {
    return std::string(ZOR_TEST_FIXTURES) + "/" + name;
}

std::string read_fixture(const std::string& name) {
    std::ifstream in(fixture_path(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
