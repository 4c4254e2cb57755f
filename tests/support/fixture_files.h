#pragma once

#include <string>

// The bytes of a file of tests/server/fixtures (empty when it cannot be read).
std::string read_fixture(const std::string& name);
// Its path.
std::string fixture_path(const std::string& name);
