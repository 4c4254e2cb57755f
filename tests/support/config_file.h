#pragma once

#include "support/temp_folder.h"

#include <string>

// Writes config.xml into the folder and makes it the process's configuration (any earlier one is dropped).
void use_config(const temp_folder& folder, const std::string& xml);
// "127.0.0.1:PORT" and the like, as document text.
std::string narrow(const std::wstring& ascii);
