#pragma once

#include "platform/types.h"

#include <cstdint>

// How a host reaches the panel library: one exported C function returns the entry of an ordinal, as a
// lookup by ordinal would; the host calls the entries with these signatures.
namespace zor {
namespace abi {

constexpr const char* ordinal_lookup_symbol = "zor_panel_ordinal";
using ordinal_lookup = void* (*)(int ordinal);

// 240: creates the panel window as a child of the host window; the descriptor is not read.
using create_panel = platform::HWND (*)(const void* descriptor, platform::HWND parent);
// 242: destroys the panel window; always 0.
using destroy_panel = int (*)();
// 243: not implemented, whatever it is given.
using not_implemented = std::int32_t (*)(...);
constexpr std::int32_t e_notimpl = static_cast<std::int32_t>(0x80004001u);
// 244: writes the interface version.
using panel_version = int (*)(platform::DWORD* out);
constexpr platform::DWORD version = 100;

} // namespace abi
} // namespace zor
