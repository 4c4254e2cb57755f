#pragma once

#include "net/disk_cache.h"
#include "net/http_buffer.h"
#include "platform/http.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace cl {
namespace http {

// The last good copy of every document and picture, on the disk (see disk_cache), so that the server is only
// asked whether a copy changed and a panel without a network still shows what it last saw. Made on the first
// use, in the user's cache folder; none when the user has no such folder.
std::shared_ptr<disk_cache> held_copies();
// From now on the copies live in this folder (empty: none are kept), within the limit. For tests and hosts;
// the folder is made on the first copy.
void keep_copies_in(const std::string& folder, std::uint64_t limit_bytes = disk_cache::default_limit);

// One GET: fills the body and the answer's status and validators, asking about `held` when there is one;
// throws when the transfer fails.
using transfer = std::function<void(buffer& body, const platform::http_validators* held,
                                    platform::http_response& response)>;
// A time in seconds since the epoch; 0 means the network's own answer.
using copy_time = std::int64_t;

// Takes a body in; throws when it cannot (a broken document, a picture that does not decode). `held` is the
// time of the held copy it is, 0 for the network's answer.
using body_user = std::function<void(const buffer& body, copy_time held)>;

// Loads host+path through the held copies, on the loading thread. The held copy's validators go with the
// request and a 304 hands the held bytes to `use`. Only a body `use` took is kept (a 200 with validators) or
// confirmed (a 304), so a lying server cannot replace a good copy with a bad one. When the transfer fails, or
// `use` rejects the answer, the held copy stands in: `use` gets it and its time comes back. Without a copy,
// or with one `use` rejects too (it is dropped), the first error goes on.
copy_time load_through_held_copy(const transfer& get, const std::wstring& host, const std::wstring& path,
                                 const body_user& use);

// Hands the held copy of host+path to `use` without asking the network, for content that has nothing to show
// yet: the copy's time, or 0 when there is none or `use` rejects it (it is dropped).
copy_time use_held_copy(const std::wstring& host, const std::wstring& path, const body_user& use);

} // namespace http
} // namespace cl
