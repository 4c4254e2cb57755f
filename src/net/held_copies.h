#pragma once

#include "net/disk_cache.h"
#include "net/http_buffer.h"
#include "net/http_client.h"

#include <string>

namespace cl {
namespace http {

// The last good copy of every document and picture, on the disk (see disk_cache), so that the server is only
// asked whether a copy changed. Made on the first use, in the user's cache folder; none when the user has no
// such folder.
disk_cache* held_copies();
// From now on the copies live in this folder (empty: none are kept). For tests and hosts; the folder is made
// on the first copy.
void keep_copies_in(const std::string& folder);

// GET through the held copies, on the loading thread: a held copy's validators go with the request, a 304
// gives the held bytes back, and a 200 that carries validators replaces the copy. Fails as client::get does.
buffer& get_with_held_copy(client& c, const std::wstring& host, const std::wstring& path, buffer& body);

} // namespace http
} // namespace cl
