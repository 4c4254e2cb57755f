#pragma once

#include "content_server.h"

#include <functional>
#include <string>

namespace server {

// Writes the answer of every target of the content as a file under folder/files, named by its path and,
// when it has one, '@' and its query, plus folder/nginx.conf that serves the same bytes for the same targets
// on 127.0.0.1:port.
bool export_content(content_server& content, const std::string& folder, int port, std::string& error);

// The same for content that changes (real sources): each call writes a new tree under folder/trees, then
// points folder/current at it in one rename, so nginx (whose folder/nginx.conf serves folder/current/files)
// never serves a half-written export. Targets without an answer (a city whose forecast failed) are left out
// and logged. Older trees but the previous one are removed.
bool export_live_content(content_server& content, const std::string& folder, int port, std::string& error,
                         const std::function<void(const std::string&)>& log);

} // namespace server
