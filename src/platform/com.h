#pragma once

// Component-model initialisation has no counterpart here; the system keeps its calls as markers.
namespace platform {

inline long co_initialize() {
    return 0;
}
inline void co_uninitialize() {}

} // namespace platform
