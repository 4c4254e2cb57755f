#include "exporter.h"

#include <cerrno>
#include <fstream>
#include <sys/stat.h>

namespace server {

namespace {
bool make_dirs(const std::string& path) {
    for (std::size_t i = 1; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '/')
            if (::mkdir(path.substr(0, i).c_str(), 0755) != 0 && errno != EEXIST)
                return false;
    return true;
}
} // namespace

bool export_content(content_server& content, const std::string& folder, int port, std::string& error) {
    const std::string files = folder + "/files";
    if (!make_dirs(files)) {
        error = "cannot make " + files;
        return false;
    }
    for (const std::string& target : content.export_targets()) {
        answer a = content.get(target);
        if (a.status != 200) {
            error = "no answer for " + target;
            return false;
        }
        const std::size_t q = target.find('?');
        std::string name = target.substr(0, q);
        if (q != std::string::npos)
            name += "@" + target.substr(q + 1);
        const std::size_t slash = name.rfind('/');
        if (!make_dirs(files + name.substr(0, slash))) {
            error = "cannot make the folder of " + name;
            return false;
        }
        std::ofstream out(files + name, std::ios::binary);
        out.write(a.body.data(), static_cast<std::streamsize>(a.body.size()));
        if (!out) {
            error = "cannot write " + name;
            return false;
        }
    }
    std::ofstream conf(folder + "/nginx.conf");
    conf << "# Serves the exported demo content: the same bytes for the same request targets.\n"
            "worker_processes 1;\n"
            "daemon off;\n"
            "pid "
         << folder
         << "/nginx.pid;\n"
            "error_log "
         << folder
         << "/error.log;\n"
            "events { worker_connections 64; }\n"
            "http {\n"
            "    access_log off;\n"
            "    default_type application/octet-stream;\n"
            "    client_body_temp_path "
         << folder
         << "/tmp;\n"
            "    proxy_temp_path "
         << folder
         << "/tmp;\n"
            "    fastcgi_temp_path "
         << folder
         << "/tmp;\n"
            "    uwsgi_temp_path "
         << folder
         << "/tmp;\n"
            "    scgi_temp_path "
         << folder
         << "/tmp;\n"
            "    server {\n"
            "        listen 127.0.0.1:"
         << port
         << ";\n"
            "        root "
         << folder
         << "/files;\n"
            "        location / {\n"
            "            try_files \"$uri@$args\" $uri =404;\n"
            "        }\n"
            "    }\n"
            "}\n";
    make_dirs(folder + "/tmp");
    if (!conf) {
        error = "cannot write nginx.conf";
        return false;
    }
    return true;
}

} // namespace server
