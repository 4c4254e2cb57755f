#include "exporter.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace server {

namespace {

bool make_dirs(const std::string& path) {
    for (std::size_t i = 1; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '/')
            if (::mkdir(path.substr(0, i).c_str(), 0755) != 0 && errno != EEXIST)
                return false;
    return true;
}

void remove_tree(const std::string& path) {
    if (DIR* d = opendir(path.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..")
                continue;
            const std::string full = path + "/" + name;
            struct stat st {};
            if (::lstat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
                remove_tree(full);
            else
                ::unlink(full.c_str());
        }
        closedir(d);
    }
    ::rmdir(path.c_str());
}

// Every target's answer as a file; a target without one is an error, or is skipped when log is given.
bool write_files(content_server& content, const std::string& files, std::string& error,
                 const std::function<void(const std::string&)>* log) {
    if (!make_dirs(files)) {
        error = "cannot make " + files;
        return false;
    }
    for (const std::string& target : content.export_targets()) {
        answer a = content.get(target);
        if (a.status != 200) {
            if (log) {
                (*log)("export: no answer for " + target);
                continue;
            }
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
    return true;
}

// nginx's configuration serving root; its pid, log and temporary files go in state.
bool write_nginx_conf(const std::string& path, const std::string& root, const std::string& state, int port) {
    std::ofstream conf(path);
    conf << "# Serves the exported content: the same bytes for the same request targets.\n"
            "worker_processes 1;\n"
            "daemon off;\n"
            "pid "
         << state << "/nginx.pid;\nerror_log " << state
         << "/error.log;\n"
            "events { worker_connections 64; }\n"
            "http {\n"
            "    access_log off;\n"
            "    default_type application/octet-stream;\n";
    for (const char* temp : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"})
        conf << "    " << temp << "_temp_path " << state << "/tmp;\n";
    conf << "    server {\n"
            "        listen 127.0.0.1:"
         << port << ";\n        root " << root
         << ";\n"
            "        location / {\n"
            "            add_header Cache-Control \"public, max-age=60\";\n"
            "            try_files \"$uri@$args\" $uri =404;\n"
            "        }\n"
            "    }\n"
            "}\n";
    make_dirs(state + "/tmp");
    return static_cast<bool>(conf);
}

} // namespace

bool export_content(content_server& content, const std::string& folder, int port, std::string& error) {
    if (!write_files(content, folder + "/files", error, nullptr))
        return false;
    if (!write_nginx_conf(folder + "/nginx.conf", folder + "/files", folder, port)) {
        error = "cannot write nginx.conf";
        return false;
    }
    return true;
}

bool export_live_content(content_server& content, const std::string& folder, int port, std::string& error,
                         const std::function<void(const std::string&)>& log) {
    const std::string trees = folder + "/trees";
    if (!make_dirs(trees)) {
        error = "cannot make " + trees;
        return false;
    }
    // Names sort in the order they were made.
    char name[64];
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::snprintf(name, sizeof name, "%020lld-%d",
                  static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                  static_cast<int>(getpid()));
    std::string tree = trees + "/" + name;
    for (int n = 1; ::access(tree.c_str(), F_OK) == 0; ++n)
        tree = trees + "/" + name + "." + std::to_string(n);
    if (!write_files(content, tree + "/files", error, &log)) {
        remove_tree(tree);
        return false;
    }
    const std::string conf = folder + "/nginx.conf";
    if (!write_nginx_conf(conf + ".new", folder + "/current/files", folder, port) ||
        std::rename((conf + ".new").c_str(), conf.c_str()) != 0) {
        error = "cannot write " + conf;
        return false;
    }
    const std::string link = folder + "/current.new";
    ::unlink(link.c_str());
    if (::symlink(("trees/" + tree.substr(trees.size() + 1)).c_str(), link.c_str()) != 0 ||
        std::rename(link.c_str(), (folder + "/current").c_str()) != 0) {
        error = "cannot point " + folder + "/current at the new export";
        return false;
    }
    // The previous tree stays for requests that began before the switch.
    std::vector<std::string> old;
    if (DIR* d = opendir(trees.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.' && trees + "/" + e->d_name != tree)
                old.push_back(e->d_name);
        closedir(d);
    }
    std::sort(old.begin(), old.end());
    if (!old.empty())
        old.pop_back();
    for (const std::string& o : old)
        remove_tree(trees + "/" + o);
    return true;
}

} // namespace server
