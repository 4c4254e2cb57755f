#pragma once

#include <string>

// The bytes in gzip's framing, as a server sends them with Content-Encoding: gzip.
std::string gzip(const std::string& plain);
