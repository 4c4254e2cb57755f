#pragma once

#include "platform/types.h"

#include <string>

namespace platform {

// The instance handle of the shared object that holds the given address (its load address).
HINSTANCE module_of(const void* address);
// Full path of that shared object's file, and the folder it lies in (without a trailing slash).
std::string module_path(HINSTANCE instance);
std::string module_folder(HINSTANCE instance);

} // namespace platform
