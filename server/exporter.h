#pragma once

#include "content_server.h"

#include <string>

namespace server {

// Writes the answer of every target of the demo content as a file under folder/files, named by its path and,
// when it has one, '@' and its query, plus folder/nginx.conf that serves the same bytes for the same targets
// on 127.0.0.1:port.
bool export_content(content_server& content, const std::string& folder, int port, std::string& error);

} // namespace server
