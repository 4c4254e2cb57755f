#pragma once

#include "support/temp_folder.h"

#include <string>

// Writes config.xml into the folder and makes it the process's configuration (any earlier one is dropped).
void use_config(const temp_folder& folder, const std::string& xml);
// The text of an installed config.xml with its news and weather servers pointed at the host ("" when the file
// cannot be read or names no server).
std::string config_pointed_at(const std::string& config_path, const std::string& host);
// Makes the installed config.xml, its servers pointed at the host, the process's configuration; false when it
// cannot be read or names no server.
bool use_config_pointed_at(const temp_folder& folder, const std::string& config_path,
                           const std::string& host);
// "127.0.0.1:PORT" and the like, as document text.
std::string narrow(const std::wstring& ascii);
