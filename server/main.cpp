// zor-content-server: the reference content server with the demo news, adverts, weather and maps.
//
//   zor-content-server [--port N] [--bind ADDR] [--content DIR] [--maps DIR] [--earth FILE]
//                      [--latency MS] [--fail-rate P] [--seed N]
//   zor-content-server --export DIR [--export-port N] [--content DIR] ...
//   zor-content-server --sources FILE [--port N] ...   real feeds and forecasts instead of the demo content
//   zor-content-server --export DIR --sources FILE [--refresh MIN] [--export-port N]
//   zor-content-server --render-maps DIR

#include "content_server.h"
#include "exporter.h"
#include "sources/live_setup.h"
#include "validators.h"

#include <atomic>
#include <cairo.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fontconfig/fontconfig.h>
#include <httplib.h>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>

#ifndef ZOR_SERVER_CONTENT
#define ZOR_SERVER_CONTENT "server/content"
#endif
#ifndef ZOR_SERVER_MAPS
#define ZOR_SERVER_MAPS ""
#endif

namespace {

int usage() {
    std::fprintf(
        stderr,
        "usage: zor-content-server [--port N] [--bind ADDR] [--content DIR] [--maps DIR] [--earth FILE]\n"
        "                          [--video FILE] [--latency MS] [--fail-rate P] [--seed N]\n"
        "       zor-content-server --export DIR [--export-port N] [--content DIR]\n"
        "       zor-content-server --sources FILE [--port N] [--bind ADDR] ...\n"
        "       zor-content-server --export DIR --sources FILE [--refresh MIN] [--export-port N]\n"
        "       zor-content-server --render-maps DIR\n");
    return 2;
}

// One line a request, in the common log format.
void log_request(const httplib::Request& req, const httplib::Response& res) {
    char when[64];
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    std::strftime(when, sizeof when, "%d/%b/%Y:%H:%M:%S +0000", &tm);
    std::printf("%s - - [%s] \"%s %s %s\" %d %zu\n", req.remote_addr.c_str(), when, req.method.c_str(),
                req.target.c_str(), req.version.c_str(), res.status, res.body.size());
    std::fflush(stdout);
}

// The banners' text leaves font caches behind; they go back before the process ends.
void release_fonts() {
    cairo_debug_reset_static_data();
    FcFini();
}

void log_line(const std::string& line) {
    std::fprintf(stderr, "zor-content-server: %s\n", line.c_str());
}

// Rebuilds the export from the sources, once or at every refresh until a signal ends it.
int export_live(server::content_server& content, server::feed_store& feeds, const std::string& folder,
                int port, int refresh_minutes) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    for (;;) {
        std::string error;
        if (!server::export_live_content(content, folder, port, error, log_line)) {
            log_line(error);
            return 1;
        }
        std::printf("zor-content-server: export written to %s/current\n", folder.c_str());
        std::fflush(stdout);
        if (refresh_minutes <= 0)
            return 0;
        const timespec wait{static_cast<time_t>(refresh_minutes) * 60, 0};
        if (sigtimedwait(&signals, nullptr, &wait) > 0)
            return 0;
        feeds.refresh(std::time(nullptr));
    }
}

} // namespace

int main(int argc, char** argv) {
    server::content_server::settings settings;
    settings.content_dir = ZOR_SERVER_CONTENT;
    settings.maps_dir = ZOR_SERVER_MAPS;
    settings.video_path = ZOR_SERVER_VIDEO;
    std::string bind = "127.0.0.1", export_dir, render_dir, sources_path;
    int port = 8080, export_port = 8081, latency = 0, refresh_minutes = 0;
    double fail_rate = 0;
    unsigned seed = 1;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (i + 1 >= argc)
            return usage();
        std::string v = argv[++i];
        if (a == "--port")
            port = std::atoi(v.c_str());
        else if (a == "--bind")
            bind = v;
        else if (a == "--content")
            settings.content_dir = v;
        else if (a == "--maps")
            settings.maps_dir = v;
        else if (a == "--earth")
            settings.earth_path = v;
        else if (a == "--video")
            settings.video_path = v;
        else if (a == "--latency")
            latency = std::atoi(v.c_str());
        else if (a == "--fail-rate")
            fail_rate = std::atof(v.c_str());
        else if (a == "--seed")
            seed = static_cast<unsigned>(std::strtoul(v.c_str(), nullptr, 10));
        else if (a == "--export")
            export_dir = v;
        else if (a == "--export-port")
            export_port = std::atoi(v.c_str());
        else if (a == "--render-maps")
            render_dir = v;
        else if (a == "--sources")
            sources_path = v;
        else if (a == "--refresh")
            refresh_minutes = std::atoi(v.c_str());
        else
            return usage();
    }
    if (port < 0 || port > 65535 || latency < 0 || fail_rate < 0 || fail_rate > 1 || refresh_minutes < 0 ||
        (refresh_minutes > 0 && (sources_path.empty() || export_dir.empty())))
        return usage();

    settings.log = log_line;
    server::live_setup live;
    if (!sources_path.empty()) {
        server::sources_settings sources;
        std::string error;
        if (!server::read_sources_file(sources_path, sources, error) ||
            !server::make_live_setup(sources, log_line, live, error)) {
            std::fprintf(stderr, "zor-content-server: %s\n", error.c_str());
            return 1;
        }
        // The first pass before answering anything, so that no panel sees empty categories.
        live.feeds->refresh(std::time(nullptr));
    }
    server::content_server content(settings, live.sources);
    if (!export_dir.empty() && !sources_path.empty()) {
        const int status = export_live(content, *live.feeds, export_dir, export_port, refresh_minutes);
        release_fonts();
        return status;
    }
    if (!render_dir.empty()) {
        const bool ok = content.render_maps(render_dir);
        release_fonts();
        return ok ? 0 : 1;
    }
    if (!export_dir.empty()) {
        std::string error;
        const bool ok = server::export_content(content, export_dir, export_port, error);
        release_fonts();
        if (!ok)
            std::fprintf(stderr, "zor-content-server: %s\n", error.c_str());
        return ok ? 0 : 1;
    }

    // Signals are taken by one thread that stops the server cleanly.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    httplib::Server http;
    std::mutex failure_mutex;
    std::mt19937 failures(seed);
    server::validators served;
    http.Get(".*", [&](const httplib::Request& req, httplib::Response& res) {
        if (latency > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(latency));
        if (fail_rate > 0) {
            std::lock_guard<std::mutex> lock(failure_mutex);
            if (std::uniform_real_distribution<double>(0, 1)(failures) < fail_rate) {
                res.status = 500;
                res.set_content("<html><body>Simulated failure</body></html>", "text/html");
                return;
            }
        }
        server::answer a = content.get(req.target);
        // Left unset for a success, so that the library answers a range request (a video player seeking in
        // the clip) with 206 and the part asked for.
        if (a.status != 200) {
            res.status = a.status;
            res.set_content(a.body, a.content_type.c_str());
            return;
        }
        // A client that holds these bytes already is told so, and gets no body.
        const std::string tag = server::validators::entity_tag(a.body);
        const std::time_t since = served.first_served(req.target, tag, std::time(nullptr));
        res.set_header("ETag", tag);
        res.set_header("Last-Modified", server::validators::http_date(since));
        res.set_header("Cache-Control", "public, max-age=60");
        if (server::validators::not_modified(req.get_header_value("If-None-Match"),
                                             req.get_header_value("If-Modified-Since"), tag, since)) {
            res.status = 304;
            return;
        }
        res.set_content(a.body, a.content_type.c_str());
    });
    http.set_logger(log_request);
    // Small answers on kept-alive connections must not wait for the client's delayed acknowledgement.
    http.set_tcp_nodelay(true);
    // As nginx does by default: a client loading a page's documents one after another keeps its connection.
    http.set_keep_alive_max_count(1000);

    int bound = port;
    if (port == 0)
        bound = http.bind_to_any_port(bind.c_str());
    else if (!http.bind_to_port(bind.c_str(), port))
        bound = -1;
    if (bound <= 0) {
        std::fprintf(stderr, "zor-content-server: cannot listen on %s:%d\n", bind.c_str(), port);
        return 1;
    }
    std::printf("zor-content-server listening on http://%s:%d\n", bind.c_str(), bound);
    std::fflush(stdout);

    std::unique_ptr<server::feed_refresher> refresher;
    if (live.feeds)
        refresher.reset(new server::feed_refresher(*live.feeds));
    std::thread stopper([&] {
        int sig = 0;
        sigwait(&signals, &sig);
        if (live.web)
            live.web->stop();
        http.stop();
    });
    http.listen_after_bind();
    if (stopper.joinable()) {
        pthread_kill(stopper.native_handle(), SIGTERM);
        stopper.join();
    }
    refresher.reset();
    release_fonts();
    return 0;
}
