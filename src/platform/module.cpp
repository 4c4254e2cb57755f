#include "platform/module.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>

namespace platform {

HINSTANCE module_of(const void* address) {
    Dl_info info{};
    if (!dladdr(address, &info))
        return nullptr;
    return reinterpret_cast<HINSTANCE>(info.dli_fbase);
}

std::string module_path(HINSTANCE instance) {
    Dl_info info{};
    if (!instance || !dladdr(reinterpret_cast<const void*>(instance), &info) || !info.dli_fname)
        return std::string();
    char resolved[PATH_MAX];
    if (realpath(info.dli_fname, resolved))
        return resolved;
    return info.dli_fname;
}

std::string module_folder(HINSTANCE instance) {
    std::string path = module_path(instance);
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace platform
