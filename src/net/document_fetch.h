#pragma once

#include "net/held_copies.h"

#include <functional>
#include <string>

namespace cl {
namespace http {

// Takes a document's text, a C string ready for the XML parser; throws when it cannot use it. `held` as for
// body_user.
using document_user = std::function<void(const char* document, copy_time held)>;

// One GET on the process's kept-alive document connection (opened when there is none or it serves another
// host), through the held copies: `use` gets the body, or the held copy when the network or the body fails
// (see load_through_held_copy), whose time comes back. Callers on several threads take turns.
copy_time load_document(const std::wstring& host, const std::wstring& path, const document_user& use);

// The held copy of a document, without asking the network: its time, or 0 when there is none that `use`
// took.
copy_time use_held_document(const std::wstring& host, const std::wstring& path, const document_user& use);

} // namespace http
} // namespace cl
